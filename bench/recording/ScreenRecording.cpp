// A 1,920 × 1,080 recording at 30 fps for 20 s under the X server of
// scripts/xserver.sh (run.sh): frames delivered, CPU and file size of our
// Recorder and of `ffmpeg -f x11grab … -c:v libx264 -preset veryfast` in the
// same run, while a child process plays UiScene full screen.
//   bench_recording_mp4 [seconds]      bench_recording_mp4 --play

#include "UiScene.h"
#include "platform/Platform.h"
#include "recording/Mp4Writer.h"
#include "recording/Recorder.h"
#include "support/DecodedRecording.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QProcess>
#include <QRasterWindow>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vellumix;

namespace {

constexpr QSize screenSize(1920, 1080);
constexpr int fps = 30;

class Player final : public QRasterWindow {
public:
    Player() {
        setFlags(Qt::X11BypassWindowManagerHint | Qt::FramelessWindowHint);
        setGeometry(QRect(QPoint(0, 0), screenSize));
        connect(&m_timer, &QTimer::timeout, this, [this] { update(); });
        m_timer.start(1000 / fps);
        m_clock.start();
        show();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).drawImage(
            0, 0, bench::uiScene(screenSize, int(m_clock.elapsed() * fps / 1000), fps));
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
};

double cpuSeconds(const rusage& usage) {
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void report(const char* name, const QString& path, double cpu, int seconds) {
    const qsizetype frames = decodeMp4(path, fps).size();
    std::printf("%-28s %6.2f fps delivered  %5.2f cores  %10lld bytes\n", name,
                double(frames) / seconds, cpu / seconds, QFileInfo(path).size());
}

double recordOurs(const QString& path, int seconds, qint64& dropped) {
    const std::unique_ptr<Platform> platform = Platform::create();
    const DisplayInfo display = platform->services().displays.displays().front();
    SteadyClock clock;
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    Recorder recorder(display, QRect(QPoint(0, 0), screenSize), fps,
                      std::make_unique<Mp4Writer>(path, screenSize, fps),
                      platform->services().displays, platform->services().screen, clock);
    recorder.start();
    const bool ran =
        QTest::qWaitFor([&] { return recorder.elapsedSeconds() >= seconds; }, seconds * 2000);
    QFuture<RecordingResult> result = recorder.stop();
    if (!ran || !QTest::qWaitFor([&] { return result.isFinished(); }, 60'000)) {
        std::fprintf(stderr, "the recording did not run its course\n");
        std::exit(1);
    }
    getrusage(RUSAGE_SELF, &after);
    dropped = result.result().droppedFrames;
    return cpuSeconds(after) - cpuSeconds(before);
}

double recordFfmpeg(const QString& path, int seconds) {
    const QByteArray input = qgetenv("DISPLAY") + "+0,0";
    const QByteArray length = QByteArray::number(seconds);
    const QByteArray file = path.toLocal8Bit();
    const pid_t child = fork();
    if (child == 0) {
        execlp("ffmpeg", "ffmpeg", "-v", "error", "-f", "x11grab", "-framerate", "30",
               "-video_size", "1920x1080", "-i", input.constData(), "-t", length.constData(),
               "-c:v", "libx264", "-preset", "veryfast", "-y", file.constData(), nullptr);
        _exit(127);
    }
    rusage usage{};
    int status = 0;
    wait4(child, &status, 0, &usage);
    return cpuSeconds(usage);
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc > 1 && QByteArray(argv[1]) == "--play") {
        Player player;
        return app.exec();
    }
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 20;
    QProcess player;
    player.start(QCoreApplication::applicationFilePath(), {"--play"});
    player.waitForStarted();
    QTest::qWait(2000);
    QTemporaryDir folder;
    qint64 dropped = 0;
    const double ours = recordOurs(folder.filePath("ours.mp4"), seconds, dropped);
    const double theirs = recordFfmpeg(folder.filePath("ffmpeg.mp4"), seconds);
    std::printf("1920 x 1080 at %d fps for %d s (%d cores here)\n", fps, seconds,
                QThread::idealThreadCount());
    report("Vellumix Recorder", folder.filePath("ours.mp4"), ours, seconds);
    std::printf("%-28s %lld frames dropped\n", "", dropped);
    report("ffmpeg x11grab + libx264", folder.filePath("ffmpeg.mp4"), theirs, seconds);
    player.kill();
    player.waitForFinished();
    return 0;
}
