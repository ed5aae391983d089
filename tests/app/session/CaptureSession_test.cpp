#include "session/CaptureSession.h"

#include "fakes/FakeSessionServices.h"
#include "fakes/WidgetTestApp.h"
#include "session/CaptureControlsController.h"
#include "session/CaptureControlsView.h"
#include "session/QtInPlaceEditing.h"
#include "session/SeeThroughFrames.h"
#include "support/ScrollPage.h"

#include <QColorSpace>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSemaphore>
#include <QStyleHints>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <deque>
#include <memory>

namespace vellumix {
namespace {

using Texts = CaptureSession::Texts;

bool waitFor(const std::function<bool()>& done) {
    return QTest::qWaitFor(done, 10000);
}

void send(QWidget* view, QEvent::Type type, QPointF at) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, at, Qt::LeftButton, held, {});
    QCoreApplication::sendEvent(view, &event);
}

void drag(QWidget* view, QPointF from, QPointF to) {
    send(view, QEvent::MouseButtonPress, from);
    send(view, QEvent::MouseMove, to);
    send(view, QEvent::MouseButtonRelease, to);
}

// Pixel for pixel, whatever the format and colour-space tag of either image.
bool samePixels(QImage a, QImage b) {
    a.setColorSpace(QColorSpace());
    b.setColorSpace(QColorSpace());
    return a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

// One 600 × 500 display showing a tall page scrolled to the top the next grab
// takes from `tops` (the last one stays).
class SessionTest : public ::testing::Test, public FakeSessionServices {
public:
    SessionTest() {
        display = fakeDisplay("MAIN", QRectF(0, 0, 600, 500), 1, QRectF(0, 0, 600, 500));
        platform.displays.list = {display};
        platform.displays.mouse = QPointF(50, 50);
        platform.screen.onGrab = [this] {
            QMutexLocker lock(&platform.screen.mutex);
            if (tops.size() > 1) {
                tops.pop_front();
            }
            platform.screen.screens[display.id] = page.frame(tops.front(), 500);
        };
        session.presentEditor = [this] {
            ++presented;
        };
    }

    void scrollTo(std::initializer_list<int> next) {
        QMutexLocker lock(&platform.screen.mutex);
        tops.insert(tops.end(), next);
    }
    QWidget* overlay() {
        return waitFor([this] { return session.selector().views().size() == 1; })
                   ? session.selector().views().front()
                   : nullptr;
    }
    // Drags (100, 100)–(400, 400) and waits for the in-place editor.
    void captureRegion() {
        session.start();
        QWidget* view = overlay();
        ASSERT_NE(view, nullptr);
        drag(view, QPointF(100, 100), QPointF(400, 400));
        ASSERT_TRUE(waitFor([this] { return inPlace.open != nullptr && !session.busy(); }));
    }
    void startScrolling() {
        captureRegion();
        inPlace.actions.scroll();
        ASSERT_TRUE(waitFor([this] { return session.running() && !session.busy(); }));
    }
    // The page rows a capture of the region over tops 0 to `lastTop` shows.
    QImage expected(int lastTop) const {
        const QRect r = session.selectedRegion()->rect.toRect();
        return page.image().copy(r.x(), r.y(), r.width(), lastTop + r.height());
    }
    testing::ScrollPage page{{.width = 600, .height = 3000, .seed = 7}};
    std::deque<int> tops{0};
    DisplayInfo display;
    CaptureSession session{sessionServices()};
    int presented = 0;
};

TEST_F(SessionTest, startIsRefusedWithoutAccessAndWhileSelecting) {
    platform.permission.granted = false;
    session.start();
    EXPECT_TRUE(session.permissionGuide().isWaiting());
    EXPECT_EQ(session.status(), Texts::permissionStatus);
    EXPECT_EQ(session.detail(), Texts::permissionDetail);
    EXPECT_TRUE(platform.screen.recorded().isEmpty());
    session.permissionGuide().cancel();

    platform.permission.granted = true;
    session.start();
    QWidget* view = overlay();
    ASSERT_NE(view, nullptr);
    session.start();
    EXPECT_EQ(platform.screen.recorded().size(), 1);
    QTest::keyClick(view, Qt::Key_Escape);
    ASSERT_TRUE(waitFor([this] { return !session.busy(); }));
    EXPECT_EQ(session.status(), Texts::canceled);
}

TEST_F(SessionTest, choicesEndOnTheClipboardInTheEditorWindowOrInAnAlert) {
    platform.windows.list = {WindowInfo{1, "W", "App", 4242, QRectF(20, 20, 200, 150), 0}};
    // The colour under the pointer by its key, or a click on a window.
    const struct {
        const char* name;
        bool refuse;
        std::optional<QPointF> click;
        QString status;
    } cases[] = {
        {"colour", false, std::nullopt,
         Texts::copied + page.image().pixelColor(50, 50).name().toUpper()},
        {"refused colour", true, std::nullopt, Texts::failure},
        {"window", false, QPointF(60, 60), Texts::selecting},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        clipboard.refuse = c.refuse;
        session.start();
        QWidget* view = overlay();
        // Qt's offscreen pointer is at (10, 10) and moves the view's.
        send(view, QEvent::MouseMove, c.click.value_or(QPointF(50, 50)));
        if (c.click) {
            drag(view, *c.click, *c.click);
        } else {
            QTest::keyClick(view, Qt::Key_C);
        }
        ASSERT_TRUE(waitFor([this] { return !session.busy(); }));
        EXPECT_EQ(session.status(), c.status);
    }
    EXPECT_EQ(inPlace.toasts, QStringList{cases[0].status.mid(Texts::copied.size())});
    EXPECT_EQ(dialogs.asked.size(), 1);
    EXPECT_EQ(dialogs.asked.front().initial, Texts::colorFailed);
    ASSERT_NE(session.editor(), nullptr);
    EXPECT_TRUE(samePixels(session.editor()->source(), page.image().copy(20, 20, 200, 150)));
    EXPECT_EQ(presented, 1);
    EXPECT_FALSE(session.canExtend());

    platform.screen.failure = QStringLiteral("The screen went away.");
    session.start();
    ASSERT_TRUE(waitFor([this] { return !session.busy(); }));
    EXPECT_EQ(session.detail(), QStringLiteral("The screen went away."));
    EXPECT_EQ(dialogs.asked.size(), 2);
}

// A region, two rounds of sampling 40 rows further each, then one stop of
// each kind: the editor opens again over the region with every row captured
// and says why the capture ended.
TEST_F(SessionTest, everyStopKeepsWhatWasCapturedAndSaysWhy) {
    platform.overlays.hides = true; // the editor gets the display to show around the region
    struct Case {
        const char* name;
        std::function<void()> stop;
        QString reason;
    };
    const QList<Case> cases = {
        {"finish", [this] { session.captureControls()->panel()->finishButton()->click(); },
         Texts::finished},
        {"time limit", [this] { clock.time += CaptureSession::timeLimitSeconds + 1; },
         Texts::timeLimit},
        {"sleep", [this] { platform.systemEvents.sleep(); }, Texts::sleeping},
        {"inactive", [this] { platform.systemEvents.deactivateSession(); }, Texts::inactive},
        {"frame error", [this] { platform.screen.failure = QStringLiteral("Grab failed."); },
         Texts::stoppedPrefix + QStringLiteral("Grab failed.")},
        {"display gone", [this] { platform.displays.list.clear(); },
         Texts::stoppedPrefix + CaptureError(CaptureError::Kind::displayRemoved).what()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform.screen.failure.clear();
        platform.displays.list = {display};
        tops = {0};
        captureRegion();
        EXPECT_EQ(session.height(), 300);
        EXPECT_TRUE(inPlace.actions.canScroll);
        EXPECT_EQ(inPlace.region, *session.selectedRegion());
        EXPECT_EQ(inPlace.backdrop.size(), display.pixelRect().size());
        // Without a running capture these change nothing.
        platform.systemEvents.sleep();
        platform.systemEvents.deactivateSession();
        EXPECT_EQ(session.detail(), Texts::captureComplete);

        scrollTo({40, 80});
        inPlace.actions.scroll();
        ASSERT_TRUE(waitFor([this] { return session.height() == 380 && !session.busy(); }));
        EXPECT_EQ(session.status(), Texts::capturing);
        EXPECT_EQ(session.editor(), nullptr);
        EXPECT_FALSE(inPlace.isOpen());
        EXPECT_EQ(session.captureControls()->panel()->heightLabel()->text(), "380 px");
        c.stop();
        ASSERT_TRUE(waitFor([this] { return session.editor() != nullptr && !session.busy(); }));
        EXPECT_EQ(session.captureControls(), nullptr);
        EXPECT_EQ(session.detail(), c.reason);
        EXPECT_EQ(session.editor()->message(), c.reason);
        EXPECT_TRUE(samePixels(session.editor()->source(), expected(80)));
        EXPECT_EQ(inPlace.open, session.editor());
        EXPECT_FALSE(inPlace.actions.canScroll);
        session.finishEditing();
    }
}

TEST_F(SessionTest, refusedFramePausesSamplingUntilResumed) {
    startScrolling();
    scrollTo({260});
    ASSERT_TRUE(waitFor([this] { return session.paused(); }));
    CaptureControlsView* panel = session.captureControls()->panel();
    EXPECT_EQ(session.status(), Texts::paused);
    EXPECT_EQ(panel->hintLabel()->text(), CaptureControlsView::Texts::paused);
    EXPECT_FALSE(panel->resumeButton()->isHidden());
    const qsizetype grabs = platform.screen.recorded().size();
    QTest::qWait(3 * CaptureSession::samplingMilliseconds);
    EXPECT_EQ(platform.screen.recorded().size(), grabs);

    scrollTo({40});
    panel->resumeButton()->click();
    EXPECT_EQ(session.detail(), Texts::resumeDetail);
    ASSERT_TRUE(waitFor([this] { return session.height() == 340; }));
    EXPECT_EQ(session.status(), Texts::capturing);
    EXPECT_TRUE(panel->resumeButton()->isHidden());
}

// Where the desktop puts the panel where it likes, it may lie over the region
// (here it always does): only a page that stood still is stitched, from a
// grab taken with the panel see-through, so the panel never shows in it.
TEST_F(SessionTest, whereTheDesktopPlacesThePanelItIsSeeThroughForTheOnlyFramesStitched) {
    platform.overlays.places = false;
    // Read on the main thread: grabs run on a worker, one of which may still
    // come after the test, so it owns what it uses.
    const auto panelShown = std::make_shared<std::atomic<bool>>(false);
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const CaptureControlsController* controls = session.captureControls();
        *panelShown = controls != nullptr && !controls->panel()->seeThrough();
    });
    watch.start(5);
    const auto seeThroughGrabs = std::make_shared<std::atomic<int>>(0);
    platform.screen.onGrab = [this, showPage = platform.screen.onGrab, panelShown,
                              seeThroughGrabs] {
        showPage();
        if (*panelShown) {
            QPainter(&platform.screen.screens[display.id]).fillRect(150, 150, 100, 100, Qt::red);
        } else {
            ++*seeThroughGrabs;
        }
    };
    startScrolling();
    scrollTo({40, 80, 120});
    ASSERT_TRUE(waitFor([this] { return session.height() == 420 && !session.busy(); }));
    QTest::qWait(3 * CaptureSession::samplingMilliseconds); // the grab once it stood still
    const int taken = *seeThroughGrabs;
    QTest::qWait((SeeThroughFrames::takeAtLeastEvery + 2) * CaptureSession::samplingMilliseconds);
    EXPECT_EQ(*seeThroughGrabs, taken) << "a page standing still is only looked at";
    // Finish clicked while see-through: it finishes once the panel shows.
    CaptureControlsView* panel = session.captureControls()->panel();
    panel->setSeeThrough(true);
    const QPointF finish = panel->finishButton()->geometry().center();
    send(panel, QEvent::MouseButtonPress, finish);
    send(panel, QEvent::MouseButtonRelease, finish);
    EXPECT_NE(session.captureControls(), nullptr);
    panel->setSeeThrough(false);
    ASSERT_TRUE(waitFor([this] { return session.editor() != nullptr && !session.busy(); }));
    EXPECT_TRUE(samePixels(session.editor()->source(), expected(120)));
    // A see-through grab begun before Finish ends before the application.
    QTest::qWait(2 * SeeThroughFrames::seeThroughMilliseconds);
}

// A click on the panel's background leaves it where it is: a window manager
// told to move on a press that ends at once follows the pointer to the next
// click. A drag past the start-drag distance moves it.
TEST_F(SessionTest, onlyADragOnThePanelsBackgroundMovesIt) {
    startScrolling();
    CaptureControlsView* panel = session.captureControls()->panel();
    int moves = 0;
    panel->startMove = [&moves] {
        ++moves;
    };
    const int distance = QGuiApplication::styleHints()->startDragDistance();
    const QPointF at(5, 5);
    send(panel, QEvent::MouseButtonPress, at);
    send(panel, QEvent::MouseMove, at + QPointF(distance - 1, 0));
    send(panel, QEvent::MouseButtonRelease, at + QPointF(distance - 1, 0));
    EXPECT_EQ(moves, 0);
    send(panel, QEvent::MouseButtonPress, at);
    send(panel, QEvent::MouseMove, at + QPointF(distance, 0));
    EXPECT_EQ(moves, 1);
}

TEST_F(SessionTest, lateFramesOfAStoppedOrDiscardedCaptureTouchNothing) {
    startScrolling();
    QSemaphore gate;
    platform.screen.onGrab = [&gate] {
        gate.acquire();
    };
    const qsizetype grabs = platform.screen.recorded().size();
    ASSERT_TRUE(waitFor([this] { return session.busy(); }));
    platform.systemEvents.sleep();
    ASSERT_TRUE(waitFor([this] { return session.editor() != nullptr && !session.busy(); }));
    EXPECT_EQ(session.editor()->source().height(), 300);
    session.finishEditing();
    EXPECT_EQ(session.status(), Texts::ready);
    scrollTo({40});
    gate.release();
    ASSERT_TRUE(waitFor([&] { return platform.screen.recorded().size() > grabs; }));
    QTest::qWait(CaptureSession::samplingMilliseconds);
    EXPECT_EQ(session.height(), 0);
    EXPECT_EQ(session.editor(), nullptr);
    EXPECT_FALSE(session.busy());
}

TEST_F(SessionTest, unsavedMarksAreAskedAboutAndUntouchedCapturesReplacedSilently) {
    captureRegion();
    session.start();
    ASSERT_NE(overlay(), nullptr);
    EXPECT_TRUE(dialogs.asked.isEmpty());
    QTest::keyClick(overlay(), Qt::Key_Escape);
    ASSERT_TRUE(waitFor([this] { return !session.busy(); }));

    captureRegion();
    session.editor()->commit(ImageMark(DrawingTool::rectangle, {QPointF(10, 10), QPointF(60, 60)},
                                       Qt::red, 3, QString()));
    dialogs.alertAnswers = {2, 2};
    session.start();
    inPlace.actions.finish();
    inPlace.actions.scroll();
    EXPECT_FALSE(session.busy());
    EXPECT_EQ(inPlace.open, session.editor());
    ASSERT_EQ(dialogs.asked.size(), 2);
    EXPECT_EQ(dialogs.asked[0].title, Texts::saveQuestion);
    EXPECT_EQ(dialogs.asked[1].initial, Texts::captureSaveDetail);

    dialogs.alertAnswers = {1};
    inPlace.actions.finish();
    EXPECT_EQ(session.editor(), nullptr);
    EXPECT_EQ(session.status(), Texts::ready);
}

TEST_F(SessionTest, failuresNoViewShowedReachTheUserAndKeepTheCapture) {
    captureRegion();
    platform.displays.list.clear();
    inPlace.actions.scroll();
    ASSERT_TRUE(waitFor([this] { return session.status() == Texts::startFailed; }));
    EXPECT_FALSE(session.busy());
    EXPECT_EQ(session.editor()->message(),
              Texts::startFailed + QStringLiteral(": ") +
                  CaptureError(CaptureError::Kind::displayRemoved).what());

    platform.displays.list = {display};
    session.finishEditing();
    inPlace.refuse = true;
    session.start();
    drag(overlay(), QPointF(100, 100), QPointF(400, 400));
    ASSERT_TRUE(waitFor([this] { return session.editor() != nullptr && !session.busy(); }));
    EXPECT_EQ(presented, 1);
    EXPECT_FALSE(session.editor()->onComplete);
    // The editor's own windows refuse a region whose display is gone.
    QtInPlaceEditing windows(EditorServices{defaults, dialogs, clipboard, pins}, platform.overlays);
    EXPECT_FALSE(
        windows.show(*session.editor(), CaptureRegion{7, QRectF(0, 0, 80, 80), 1}, {}, {}));
    EXPECT_FALSE(windows.isOpen());
}

TEST(CaptureControlsPlacement, panelKeepsOffTheRegionWhereverThereIsRoom) {
    const QRectF main(0, 0, 1000, 800);
    const DisplayInfo left = fakeDisplay("LEFT", main, 1, main);
    const DisplayInfo right = fakeDisplay("RIGHT", QRectF(1000, 0, 800, 600), 2, main);
    struct Case {
        const char* name;
        CaptureRegion region;
        QList<DisplayInfo> displays;
        QRectF frame;
    };
    const QList<Case> cases = {
        {"beside", {right.id, QRectF(100, 50, 300, 300), 2}, {left, right}, {1412, 0, 320, 600}},
        {"below", {left.id, QRectF(0, 50, 1000, 300), 1}, {left, right}, {680, 362, 320, 438}},
        {"above", {left.id, QRectF(0, 450, 1000, 350), 1}, {left}, {680, 0, 320, 438}},
        {"other display",
         {left.id, QRectF(0, 0, 1000, 800), 1},
         {left, right},
         {1468, 0, 320, 600}},
        {"no room", {left.id, QRectF(0, 0, 1000, 800), 1}, {left}, {780, 0, 220, 620}},
        {"display gone", {7, QRectF(100, 50, 300, 300), 1}, {left, right}, {412, 50, 320, 620}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CaptureControlsController::panelFrame(c.region, c.displays), c.frame);
    }
}

} // namespace
} // namespace vellumix
