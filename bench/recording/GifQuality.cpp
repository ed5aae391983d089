// A GIF of a UI being used (10 s, 800 × 600, 15 fps, frames drawn by
// UiScene): our GifWriter beside ffmpeg's two-pass palettegen/paletteuse on
// the same frames, by bytes, time and mean SSIM against the source frames.
//   bench_recording_gif [seconds]

#include "UiScene.h"
#include "recording/GifWriter.h"
#include "support/DecodedRecording.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

using namespace vellumix;

namespace {

constexpr QSize frameSize(800, 600);
constexpr int fps = 15;

double luma(QRgb p) {
    return 0.299 * qRed(p) + 0.587 * qGreen(p) + 0.114 * qBlue(p);
}

// SSIM of the luma of two images over 8 × 8 windows in steps of 4 (Wang et
// al. 2004, without the Gaussian weighting).
double ssim(const QImage& a, const QImage& b) {
    constexpr double c1 = 6.5025, c2 = 58.5225; // (0.01 · 255)², (0.03 · 255)²
    double sum = 0;
    int windows = 0;
    for (int y = 0; y + 8 <= a.height(); y += 4) {
        for (int x = 0; x + 8 <= a.width(); x += 4) {
            double ma = 0, mb = 0, va = 0, vb = 0, cov = 0;
            for (int j = 0; j < 8; ++j) {
                for (int i = 0; i < 8; ++i) {
                    const double p = luma(a.pixel(x + i, y + j)), q = luma(b.pixel(x + i, y + j));
                    ma += p, mb += q, va += p * p, vb += q * q, cov += p * q;
                }
            }
            ma /= 64, mb /= 64;
            va = va / 64 - ma * ma, vb = vb / 64 - mb * mb, cov = cov / 64 - ma * mb;
            sum +=
                (2 * ma * mb + c1) * (2 * cov + c2) / ((ma * ma + mb * mb + c1) * (va + vb + c2));
            ++windows;
        }
    }
    return sum / windows;
}

// Mean SSIM of the GIF's frame showing at each source frame's time.
double meanSsim(const QString& gif, const QList<QImage>& sources) {
    const QList<DecodedFrame> frames = decodeGif(gif);
    if (frames.isEmpty()) {
        return 0; // a GIF that does not decode resembles nothing
    }
    double sum = 0;
    qsizetype shown = 0;
    for (qsizetype i = 0; i < sources.size(); ++i) {
        const qint64 at = i * 100 / fps;
        while (shown + 1 < frames.size() && frames[shown + 1].at <= at) {
            ++shown;
        }
        sum += ssim(frames[shown].image, sources[i].convertToFormat(QImage::Format_RGB32));
    }
    return sum / sources.size();
}

void report(const char* name, const QString& gif, qint64 ms, const QList<QImage>& sources) {
    std::printf("%-34s %9lld bytes  SSIM %.5f  %6lld ms\n", name, QFileInfo(gif).size(),
                meanSsim(gif, sources), ms);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    QList<QImage> sources;
    for (int i = 0; i < seconds * fps; ++i) {
        sources.append(bench::uiScene(frameSize, i, fps));
    }
    QTemporaryDir folder;
    QElapsedTimer timer;
    timer.start();
    GifWriter writer(folder.filePath("ours.gif"), frameSize, fps);
    for (qsizetype i = 0; i < sources.size(); ++i) {
        writer.write(sources[i], i);
    }
    writer.finish();
    const qint64 ours = timer.elapsed();

    QFile raw(folder.filePath("frames.rgba"));
    raw.open(QIODevice::WriteOnly);
    for (const QImage& frame : sources) {
        raw.write(reinterpret_cast<const char*>(frame.constBits()), frame.sizeInBytes());
    }
    raw.close();
    timer.restart();
    const int status = QProcess::execute(
        "ffmpeg", {"-v", "error", "-f", "rawvideo", "-pix_fmt", "rgba", "-s", "800x600", "-r",
                   QString::number(fps), "-i", raw.fileName(), "-filter_complex",
                   "[0:v]split[a][b];[a]palettegen[p];[b][p]paletteuse", "-y",
                   folder.filePath("ffmpeg.gif")});
    const qint64 theirs = timer.elapsed();
    std::printf("GIF of a UI being used, 800 x 600, %d s at %d fps\n", seconds, fps);
    report("Vellumix GifWriter", folder.filePath("ours.gif"), ours, sources);
    if (status == 0) {
        report("ffmpeg palettegen/paletteuse", folder.filePath("ffmpeg.gif"), theirs, sources);
    }
    return 0;
}
