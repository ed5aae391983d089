#include "session/ScreenRecordings.h"

#include "fakes/FakeSessionServices.h"
#include "fakes/WidgetTestApp.h"
#include "selection/HintPanel.h"
#include "selection/SelectionView.h"

#include <QCheckBox>
#include <QTemporaryDir>
#include <QTest>

namespace vellumix {
namespace {

// Record Screen, V in the overlay, the control beside the region, and the
// result window, on one 600 × 500 display.
class ScreenRecordingsTest : public ::testing::Test, public FakeSessionServices {
public:
    ScreenRecordingsTest() {
        const DisplayInfo main =
            fakeDisplay("MAIN", QRectF(0, 0, 600, 500), 1, QRectF(0, 0, 600, 500));
        platform.displays.list = {main};
        platform.screen.screens[main.id] = QImage(600, 500, QImage::Format_RGBA8888_Premultiplied);
        platform.screen.screens[main.id].fill(Qt::darkCyan);
        recordings.serve(session);
        // Noted on the way, for the region recorded.
        session.record = [this, serve = session.record](const CaptureRegion& region) {
            recorded_ = region.rect;
            serve(region);
        };
    }
    SelectionView* overlay() {
        return QTest::qWaitFor([this] { return session.selector().views().size() == 1; })
                   ? session.selector().views().front()
                   : nullptr;
    }
    // The region the overlay chose once a recording of it runs.
    std::optional<QRectF> recorded() {
        return QTest::qWaitFor([this] { return recordings.running(); }) ? std::optional(recorded_)
                                                                        : std::nullopt;
    }

    QTemporaryDir folder;
    CaptureSession session{sessionServices()};
    ScreenRecordings recordings{
        {platform.services(), defaults, dialogs, clipboard, clock, folder.path()}};
    QRectF recorded_;
};

TEST_F(ScreenRecordingsTest, overlayChoosesWhatToRecordTheHotKeyStopsAndTheResultMovesTheFile) {
    // Record Screen, then V twice: a drag records its region.
    session.startRecording();
    SelectionView* view = overlay();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->note(), hintpanel::recordNote);
    QTest::keyClick(view, Qt::Key_V);
    EXPECT_EQ(view->note(), QString());
    QTest::keyClick(view, Qt::Key_V);
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(view, QPoint(300, 250));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(300, 250));
    EXPECT_EQ(recorded(), QRectF(100, 100, 200, 150));
    ASSERT_NE(recordings.control(), nullptr);
    EXPECT_FALSE(recordings.control()->geometry().intersects(QRect(100, 100, 200, 150)));

    // The hot key stops it; the file is whole and can go elsewhere.
    session.start();
    ASSERT_TRUE(QTest::qWaitFor([this] { return recordings.result() != nullptr; }));
    EXPECT_EQ(recordings.result()->path(), folder.filePath("Capture.mp4"));
    EXPECT_EQ(ScreenRecordings::newFile(folder.path(), "mp4"), folder.filePath("Capture 2.mp4"));
    EXPECT_TRUE(recordings.showsPointer());
    recordings.result()->findChild<QCheckBox*>()->setChecked(false);
    EXPECT_FALSE(recordings.showsPointer());
    recordings.result()->copyPath();
    EXPECT_EQ(clipboard.text, folder.filePath("Capture.mp4"));
    dialogs.fileAnswers.push_back(folder.filePath("kept.mp4"));
    EXPECT_TRUE(recordings.result()->save());
    EXPECT_TRUE(QFileInfo(folder.filePath("kept.mp4")).size() > 0);
    EXPECT_FALSE(QFileInfo::exists(folder.filePath("Capture.mp4")));

    // F records the whole display, with no free place for the control.
    session.startRecording();
    ASSERT_NE(overlay(), nullptr);
    QTest::keyClick(overlay(), Qt::Key_F);
    EXPECT_EQ(recorded(), QRectF(0, 0, 600, 500));
    EXPECT_EQ(recordings.control(), nullptr);
    const RecordingResultView* first = recordings.result();
    recordings.stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return recordings.result() != first; }));
    EXPECT_EQ(recordings.result()->path(), folder.filePath("Capture.mp4"));

    // Where the desktop puts floating windows anywhere, over the region too,
    // a region's recording shows no control either.
    platform.overlays.places = false;
    session.startRecording();
    QTest::mousePress(overlay(), Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(overlay(), QPoint(300, 250));
    QTest::mouseRelease(overlay(), Qt::LeftButton, {}, QPoint(300, 250));
    ASSERT_TRUE(recordings.running());
    EXPECT_EQ(recordings.control(), nullptr);
    recordings.stop();
}

} // namespace
} // namespace vellumix
