#include "XServerFixture.h"
#include "recording/Mp4Writer.h"
#include "recording/Recorder.h"
#include "support/DecodedRecording.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QRasterWindow>
#include <QTemporaryDir>

namespace vellumix {
namespace {

// A window that shows the next phase of the pattern every `phaseMs`, placed
// by itself above everything.
class PhaseWindow final : public QRasterWindow {
public:
    static constexpr int phaseMs = 400;

    explicit PhaseWindow(const QRect& pixels) {
        setFlags(Qt::X11BypassWindowManagerHint | Qt::FramelessWindowHint);
        setGeometry(pixels);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (phase() != m_shown) {
                update();
            }
        });
        m_timer.start(10);
        m_clock.start();
        show();
    }

    int phase() const { return int(m_clock.elapsed() / phaseMs); }

protected:
    void paintEvent(QPaintEvent*) override {
        m_shown = phase();
        QPainter(this).drawImage(0, 0, pattern(size(), m_shown));
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    int m_shown = -1;
};

class RecordingX11Test : public XServerTest {};

TEST_F(RecordingX11Test, aChangingWindowIsRecordedFrameByFrame) {
    const QRect pixels(1100, 600, 320, 240);
    const DisplayInfo left = display("LEFT");
    PhaseWindow window(pixels);
    ASSERT_TRUE(waitUntil([&] {
        return psnr(services().screen.grabRegion(left, pixels), pattern(pixels.size(), 0)) > 40;
    })) << "the window did not show";
    const int fps = 10;
    const double seconds = 5;
    QTemporaryDir folder;
    const QString path = folder.filePath("window.mp4");
    SteadyClock clock;
    Recorder recorder(left, pixels, fps, std::make_unique<Mp4Writer>(path, pixels.size(), fps),
                      services().displays, services().screen, clock);
    recorder.start();
    ASSERT_TRUE(waitUntil([&] { return recorder.elapsedSeconds() >= seconds; }));
    const RecordingResult result = awaited(recorder.stop()).result();
    EXPECT_EQ(result.message, QString());

    const QList<DecodedFrame> frames = decodeMp4(path, fps);
    EXPECT_EQ(frames.size(), result.file.frames);
    EXPECT_NEAR(frames.size(), fps * seconds, fps * seconds * 0.03);
    // Each frame shows one phase whole, and the phases only move on.
    int previous = 0;
    for (const DecodedFrame& frame : frames) {
        ASSERT_EQ(frame.image.size(), pixels.size());
        int best = previous;
        for (int phase = previous; phase <= window.phase(); ++phase) {
            if (psnr(frame.image, pattern(pixels.size(), phase)) >
                psnr(frame.image, pattern(pixels.size(), best))) {
                best = phase;
            }
        }
        EXPECT_GE(psnr(frame.image, pattern(pixels.size(), best)), 35) << "at " << frame.at;
        previous = best;
    }
    EXPECT_GE(previous, int(seconds * 1000 / PhaseWindow::phaseMs) - 2);
}

} // namespace
} // namespace vellumix
