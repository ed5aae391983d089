// A window that changes, recorded with the pointer in the session of
// scripts/wayland.sh through the desktop portal's screen cast.

#include "fakes/Awaited.h"
#include "platform/Platform.h"
#include "recording/Mp4Writer.h"
#include "recording/Recorder.h"
#include "support/PhaseWindow.h"
#include "support/ShownRecordingControl.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace vellumix {
namespace {

bool sway(const QString& command) {
    return QProcess::execute("swaymsg", {"-q", command}) == 0;
}

// The portal backend's log from `offset` on: it names each cast's options.
QString portalLog(qint64 offset = 0) {
    QFile log(qEnvironmentVariable("VELLUMIX_WAYLAND_STATE") + QStringLiteral("/portal-wlr.log"));
    return log.open(QIODevice::ReadOnly) && log.seek(offset) ? QString::fromUtf8(log.readAll())
                                                             : QString();
}

TEST(RecordingWaylandTest, aChangingWindowIsRecordedFrameByFrameWithThePointer) {
    const QRect pixels(400, 300, 320, 240); // on the first output, at scale 1
    const std::unique_ptr<Platform> platform = Platform::create();
    const PlatformServices services = platform->services();
    const DisplayInfo display = services.displays.displays().front();
    PhaseWindow window(pixels);
    window.show();
    const auto shown = [&] {
        return bestPhase(services.screen.grabRegion(display, pixels), 0, window.phase()).second >
               40;
    };
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return sway(QStringLiteral("[title=\"Phases\"] move absolute position %1 %2")
                            .arg(pixels.x())
                            .arg(pixels.y())) &&
                   shown();
        },
        30'000))
        << "the window did not show at its place";
    const QPoint hotSpot(160, 120);
    ASSERT_TRUE(sway(QStringLiteral("seat seat0 cursor set %1 %2")
                         .arg(pixels.x() + hotSpot.x())
                         .arg(pixels.y() + hotSpot.y())));
    // Screenshots leave the pointer out; the recording asks the desktop for
    // it. (This compositor draws it into every cast, so only the question
    // tells them apart.)
    const QString beforeRecording = portalLog();
    EXPECT_TRUE(beforeRecording.contains("cursor_mode:1")) << beforeRecording.toStdString();
    const QRect box = QRect(hotSpot, QSize(1, 1)).adjusted(-32, -32, 32, 32);
    const int fps = 10;
    const double seconds = 5;
    QTemporaryDir folder;
    const QString path = folder.filePath("window.mp4");
    SteadyClock clock;
    const PlatformServices::Recorded recorded = services.recorded(true);
    Recorder recorder(display, pixels, fps, std::make_unique<Mp4Writer>(path, pixels.size(), fps),
                      services.displays, recorded.screen, clock, recorded.pointer);
    const int firstPhase = window.phase();
    // The control sits beside the region while it records, never in a frame.
    ShownRecordingControl control(services, display, pixels);
    ASSERT_TRUE(control.shows());
    recorder.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.elapsedSeconds() >= seconds; }, 60'000));
    const RecordingResult result = awaited(recorder.stop()).result();
    EXPECT_EQ(result.message, QString());
    const QString recording = portalLog(beforeRecording.toUtf8().size());
    EXPECT_TRUE(recording.contains("cursor_mode:2") && !recording.contains("cursor_mode:1"))
        << recording.toStdString();

    const QList<DecodedFrame> frames = decodeMp4(path, fps);
    EXPECT_EQ(frames.size(), result.file.frames);
    expectPhases(frames, window, fps, seconds, box, firstPhase);
    for (const DecodedFrame& frame : frames) {
        EXPECT_TRUE(showsPointer(frame.image, window, box)) << "at " << frame.at;
    }
}

} // namespace
} // namespace vellumix
