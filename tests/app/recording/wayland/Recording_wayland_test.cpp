// A window that changes, recorded in the session of scripts/wayland.sh
// through the desktop portal's screen cast.

#include "fakes/Awaited.h"
#include "platform/Platform.h"
#include "recording/Mp4Writer.h"
#include "recording/Recorder.h"
#include "support/PhaseWindow.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace vellumix {
namespace {

TEST(RecordingWaylandTest, aChangingWindowIsRecordedFrameByFrame) {
    const QRect pixels(400, 300, 320, 240); // on the first output, at scale 1
    const std::unique_ptr<Platform> platform = Platform::create();
    const DisplayInfo display = platform->services().displays.displays().front();
    PhaseWindow window(pixels);
    window.show();
    const auto shown = [&] {
        return bestPhase(platform->services().screen.grabRegion(display, pixels), 0, window.phase())
                   .second > 40;
    };
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return QProcess::execute("swaymsg", {"-q", QStringLiteral("[title=\"Phases\"] move "
                                                                      "absolute position %1 %2")
                                                           .arg(pixels.x())
                                                           .arg(pixels.y())}) == 0 &&
                   shown();
        },
        30'000))
        << "the window did not show at its place";
    const int fps = 10;
    const double seconds = 5;
    QTemporaryDir folder;
    const QString path = folder.filePath("window.mp4");
    SteadyClock clock;
    Recorder recorder(display, pixels, fps, std::make_unique<Mp4Writer>(path, pixels.size(), fps),
                      platform->services().displays, platform->services().screen, clock);
    recorder.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.elapsedSeconds() >= seconds; }, 60'000));
    const RecordingResult result = awaited(recorder.stop()).result();
    EXPECT_EQ(result.message, QString());

    const QList<DecodedFrame> frames = decodeMp4(path, fps);
    EXPECT_EQ(frames.size(), result.file.frames);
    expectPhases(frames, window, fps, seconds);
}

} // namespace
} // namespace vellumix
