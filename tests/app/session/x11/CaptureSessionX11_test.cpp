#include "XServerFixture.h"
#include "editor/EditingOverlay.h"
#include "fakes/FakeClipboard.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakePins.h"
#include "fakes/MemoryDefaults.h"
#include "platform/qt/PlacedOverlays.h"
#include "session/CaptureControlsController.h"
#include "session/CaptureControlsView.h"
#include "session/CaptureSession.h"
#include "session/QtInPlaceEditing.h"
#include "shell/GlobalCaptureShortcut.h"
#include "support/ScrollPage.h"

#include <QPushButton>

namespace vellumix {
namespace {

// The road of a capture as the user takes it: the hot key, a drag over a
// page in another program, the in-place editor's scroll key, wheel notches,
// Finish.
class SessionX11Test : public XServerTest {
protected:
    void SetUp() override {
        XServerTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        page.start(VELLUMIX_SCROLL_PAGE, {QStringLiteral("%1,%2,%3,%4")
                                              .arg(area.x())
                                              .arg(area.y())
                                              .arg(area.width())
                                              .arg(area.height()),
                                          QString::number(notch)});
        ASSERT_TRUE(waitUntil([this] { return pageShows(0); })) << "the page did not appear";
        session = std::make_unique<CaptureSession>(CaptureSession::Services{
            services(), EditorServices{defaults, dialogs, clipboard, pins}, inPlace, clock});
        shortcut = std::make_unique<GlobalCaptureShortcut>(services().hotKeys, defaults);
        shortcut->start([this] { session->start(true); });
    }
    void TearDown() override {
        shortcut.reset();
        session.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        page.kill();
        page.waitForFinished();
        XServerTest::TearDown();
    }

    bool pageShows(int top) {
        const QImage row = services().screen.grabRegion(
            display("LEFT"), QRect(area.topLeft() + QPoint(0, 100), QSize(area.width(), 1)));
        return firstDifference(row, expected.frame(top + 100, 1).convertToFormat(row.format()))
            .empty();
    }
    // Hot key, then a drag from `region`'s top-left to its bottom-right
    // corner; done once the first frame is in the editor.
    void captureRegion() {
        ASSERT_TRUE(xdotool({"key", "ctrl+shift+x"}));
        ASSERT_TRUE(waitUntil([this] { return session->selector().views().size() == 2; }));
        const QRect r = region;
        ASSERT_TRUE(
            xdotool({"mousemove", QString::number(r.left()), QString::number(r.top()), "mousedown",
                     "1", "mousemove", QString::number(r.center().x()),
                     QString::number(r.center().y()), "mousemove", QString::number(r.right() + 1),
                     QString::number(r.bottom() + 1), "mouseup", "1"}));
        ASSERT_TRUE(waitUntil([this] { return inPlace.isOpen() && !session->busy(); }));
        ASSERT_EQ(session->height(), region.height());
    }
    // The editor's scroll key, Ctrl+Shift+L.
    void startScrolling() {
        ASSERT_TRUE(waitUntil([this] { return inPlace.window()->isActiveWindow(); }));
        ASSERT_TRUE(xdotool({"key", "ctrl+shift+l"}));
        ASSERT_TRUE(waitUntil([this] { return session->captureControls() != nullptr; }));
    }
    // One wheel notch over the region; done once the session has its rows.
    void scrollOneNotch(int rowsBefore) {
        const QPoint at = region.center();
        ASSERT_TRUE(
            xdotool({"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "5"}));
        ASSERT_TRUE(waitUntil([&] { return session->height() == rowsBefore + notch; }))
            << session->detail().toStdString();
    }
    QImage stitched(int rows) const {
        const QPoint offset = region.topLeft() - area.topLeft();
        return expected.image()
            .copy(offset.x(), offset.y(), region.width(), rows)
            .convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    }
    QImage edited() const {
        return session->editor()->source().convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    }

    static constexpr int notch = 60;
    const QRect area{1000, 150, 500, 800};
    const QRect region{1050, 250, 400, 500};
    const testing::ScrollPage expected{{.width = 500, .height = 3000, .seed = 1}};
    QProcess page;
    MemoryDefaults defaults;
    FakeDialogs dialogs;
    FakeClipboard clipboard;
    FakePins pins;
    FakeClock clock;
    PlacedOverlays overlays;
    QtInPlaceEditing inPlace{EditorServices{defaults, dialogs, clipboard, pins}, overlays};
    std::unique_ptr<CaptureSession> session;
    std::unique_ptr<GlobalCaptureShortcut> shortcut;
};

TEST_F(SessionX11Test, finishGivesTheEditorThePageOverTheScrolledRange) {
    captureRegion();
    startScrolling();
    const QRectF panel = session->captureControls()->panel()->frameGeometry();
    EXPECT_FALSE(panel.intersects(region)) << "the panel would be withdrawn for every grab";
    for (int n = 0; n < 4; ++n) {
        scrollOneNotch(region.height() + n * notch);
    }
    QPushButton* finish = session->captureControls()->panel()->finishButton();
    const QPoint at = finish->mapToGlobal(finish->rect().center());
    ASSERT_TRUE(
        xdotool({"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "1"}));
    ASSERT_TRUE(waitUntil([this] { return session->editor() != nullptr && !session->busy(); }));
    EXPECT_EQ(session->detail(), CaptureSession::Texts::finished);
    EXPECT_EQ(firstDifference(edited(), stitched(region.height() + 4 * notch)), "");
    EXPECT_TRUE(dialogs.asked.isEmpty());
}

} // namespace
} // namespace vellumix
