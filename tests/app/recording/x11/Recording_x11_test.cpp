#include "XServerFixture.h"
#include "recording/Mp4Writer.h"
#include "recording/Recorder.h"
#include "support/DecodedRecording.h"
#include "support/PhaseWindow.h"

#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>

namespace vellumix {
namespace {

class RecordingX11Test : public XServerTest {
protected:
    // How far the pointer's image may reach from its hot spot.
    static constexpr int pointerReach = 32;

    static int largestDifference(const QImage& a, const QImage& b, const QRect& box) {
        int largest = 0;
        for (int y = box.top(); y <= box.bottom(); ++y) {
            for (int x = box.left(); x <= box.right(); ++x) {
                const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
                largest =
                    std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
            }
        }
        return largest;
    }
};

TEST_F(RecordingX11Test, aChangingWindowIsRecordedFrameByFrame) {
    const QRect pixels(1100, 600, 320, 240);
    const DisplayInfo left = display("LEFT");
    PhaseWindow window(pixels);
    window.setFlags(Qt::X11BypassWindowManagerHint | Qt::FramelessWindowHint);
    window.show();
    ASSERT_TRUE(waitUntil([&] {
        return bestPhase(services().screen.grabRegion(left, pixels), 0, window.phase()).second > 40;
    })) << "the window did not show";
    const int fps = 10;
    const double seconds = 5;
    QTemporaryDir folder;
    const QString path = folder.filePath("window.mp4");
    const QPoint hotSpot(160, 120);
    ASSERT_TRUE(xdotool({"mousemove", QString::number(pixels.x() + hotSpot.x()),
                         QString::number(pixels.y() + hotSpot.y())}));
    const QRect box = QRect(hotSpot, QSize(1, 1))
                          .adjusted(-pointerReach, -pointerReach, pointerReach, pointerReach);
    SteadyClock clock;
    Recorder recorder(left, pixels, fps, std::make_unique<Mp4Writer>(path, pixels.size(), fps),
                      services().displays, services().screen, clock, services().pointer);
    recorder.start();
    ASSERT_TRUE(waitUntil([&] { return recorder.elapsedSeconds() >= seconds; }));
    const RecordingResult result = awaited(recorder.stop()).result();
    EXPECT_EQ(result.message, QString());

    const QList<DecodedFrame> frames = decodeMp4(path, fps);
    EXPECT_EQ(frames.size(), result.file.frames);
    expectPhases(frames, window, fps, seconds, box);
    // The pointer is drawn where it is.
    for (const DecodedFrame& frame : frames) {
        const int phase = bestPhase(frame.image, 0, window.phase(), box).first;
        EXPECT_GT(largestDifference(frame.image, pattern(pixels.size(), phase), box), 100);
    }
}

} // namespace
} // namespace vellumix
