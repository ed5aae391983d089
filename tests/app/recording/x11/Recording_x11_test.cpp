#include "XServerFixture.h"
#include "recording/Mp4Writer.h"
#include "recording/Recorder.h"
#include "support/DecodedRecording.h"
#include "support/PhaseWindow.h"
#include "support/ShownRecordingControl.h"

#include <QTemporaryDir>

namespace vellumix {
namespace {

class RecordingX11Test : public XServerTest {
protected:
    // How far the pointer's image may reach from its hot spot.
    static constexpr int pointerReach = 32;
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
    const PlatformServices::Recorded recorded = services().recorded(true);
    Recorder recorder(left, pixels, fps, std::make_unique<Mp4Writer>(path, pixels.size(), fps),
                      services().displays, recorded.screen, clock, recorded.pointer);
    // The control sits beside the region while it records, never in a frame.
    ShownRecordingControl control(services(), left, pixels);
    ASSERT_TRUE(control.shows());
    recorder.start();
    ASSERT_TRUE(waitUntil([&] { return recorder.elapsedSeconds() >= seconds; }));
    const RecordingResult result = awaited(recorder.stop()).result();
    EXPECT_EQ(result.message, QString());

    const QList<DecodedFrame> frames = decodeMp4(path, fps);
    EXPECT_EQ(frames.size(), result.file.frames);
    expectPhases(frames, window, fps, seconds, box);
    // The pointer is drawn where it is.
    for (const DecodedFrame& frame : frames) {
        EXPECT_TRUE(showsPointer(frame.image, window, box)) << "at " << frame.at;
    }
}

} // namespace
} // namespace vellumix
