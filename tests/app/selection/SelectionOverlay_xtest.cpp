#include "XServerFixture.h"

#include "fakes/MemoryDefaults.h"
#include "platform/WindowKind.h"
#include "platform/x11/X11Connection.h"
#include "selection/SelectionController.h"

#include <QApplication>
#include <QPainter>
#include <QWindow>

namespace vellumix {
namespace {

// What another client gets when it asks for the keyboard; a granted grab is
// given back at once.
int keyboardGrabStatus(const X11Connection& probe) {
    xcb_connection_t* c = probe.get();
    const auto reply = takeReply(c, xcb_grab_keyboard_reply,
                                 xcb_grab_keyboard(c, 0, probe.root(), XCB_CURRENT_TIME,
                                                   XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    if (reply && reply->status == XCB_GRAB_STATUS_SUCCESS) {
        xcb_ungrab_keyboard(c, XCB_CURRENT_TIME);
        xcb_flush(c);
    }
    return reply ? reply->status : -1;
}

// Runs with RIGHT at scale 2: RIGHT's points are half its pixels.
class SelectionOverlayTest : public XServerTest {
protected:
    void SetUp() override {
        XServerTest::SetUp();
        controller = std::make_unique<SelectionController>(services(), defaults);
    }
    void TearDown() override {
        controller.reset();
        if (compositor.state() != QProcess::NotRunning) {
            compositor.kill();
            compositor.waitForFinished();
        }
        XServerTest::TearDown();
    }

    // Opens the overlay with the pointer at `pixel` of the X screen and waits
    // until every view is on the screen.
    testing::AssertionResult open(QPoint pixel) {
        choices.clear();
        if (!xdotool({"mousemove", QString::number(pixel.x()), QString::number(pixel.y())})) {
            return testing::AssertionFailure() << "xdotool could not move the pointer";
        }
        // A failed begin throws here, which fails the test with its message.
        awaited(controller->begin([this](CaptureChoice choice) {
            choices.append(choice);
        })).waitForFinished();
        const bool shown = waitUntil([this] {
            for (const SelectionView* view : controller->views()) {
                const QWindow* window = view->window()->windowHandle();
                if (window == nullptr || !window->isExposed()) {
                    return false;
                }
            }
            return controller->views().size() == 2;
        });
        return shown ? testing::AssertionSuccess()
                     : testing::AssertionFailure() << "the overlays were not shown";
    }

    SelectionView& view(const char* name) {
        for (SelectionView* view : controller->views()) {
            if (view->frozen().display.name == QLatin1String(name)) {
                return *view;
            }
        }
        throw std::runtime_error("no view");
    }

    template <typename T> const T* outcome() {
        if (!waitUntil([this] { return !choices.isEmpty(); }) || choices.size() != 1) {
            return nullptr;
        }
        return std::get_if<T>(&choices.front());
    }

    bool hovering(const char* display, const char* title) {
        return waitUntil([&] {
            const std::optional<WindowCandidate> window = view(display).hovered();
            return window && window->window.title == QLatin1String(title);
        });
    }

    // Clicks the window behind Delta, reached with Tab.
    QImage windowBehindDelta() {
        EXPECT_TRUE(open(QPoint(750, 600)));
        EXPECT_TRUE(hovering("LEFT", "Delta"));
        EXPECT_TRUE(xdotool({"key", "Tab"}));
        EXPECT_TRUE(hovering("LEFT", "Gamma"));
        EXPECT_TRUE(xdotool({"click", "1"}));
        const WindowsChoice* picked = outcome<WindowsChoice>();
        return picked ? picked->image : QImage();
    }

    MemoryDefaults defaults;
    std::unique_ptr<SelectionController> controller;
    QList<CaptureChoice> choices;
    QProcess compositor;
};

TEST_F(SelectionOverlayTest, dragOnTheScaledDisplayGivesItsExactPixels) {
    ASSERT_TRUE(open(QPoint(300, 900)));
    // Points (100, 110) to (200, 210) of RIGHT are pixels (200, 220) to
    // (400, 420), 20 pixels into Beta.
    ASSERT_TRUE(xdotool({"mousemove", "2120", "220", "mousedown", "1", "mousemove", "2320", "420",
                         "mouseup", "1"}));
    const RegionChoice* region = outcome<RegionChoice>();
    ASSERT_NE(region, nullptr);
    EXPECT_EQ(region->region, (CaptureRegion{display("RIGHT").id, QRectF(100, 110, 100, 100), 2}));
    EXPECT_EQ(firstDifference(region->image,
                              expectedPattern(patternLayout[1], QPoint(20, 20), QSize(200, 200))),
              "");
}

TEST_F(SelectionOverlayTest, tabReachesTheCoveredWindowAsSeenAndWholeUnderACompositor) {
    // Without a compositor a covered window has no pixels of its own: Delta's
    // corner covers Gamma's, as it did on the screen.
    const PatternWindowSpec& gamma = patternLayout[2];
    const PatternWindowSpec& delta = patternLayout[3];
    const QImage whole = expectedPattern(gamma, QPoint(0, 0), gamma.pixels.size());
    QImage seen = whole;
    QPainter(&seen).drawImage(delta.pixels.topLeft() - gamma.pixels.topLeft(),
                              expectedPattern(delta, QPoint(0, 0), delta.pixels.size()));
    EXPECT_EQ(firstDifference(windowBehindDelta(), seen), "");

    compositor.start(QStringLiteral("xcompmgr"), QStringList());
    ASSERT_TRUE(compositor.waitForStarted());
    ASSERT_TRUE(waitUntil([this] {
        return windowkind::compositorActive() && services().windows.capturesCoveredWindows();
    }));
    EXPECT_EQ(firstDifference(windowBehindDelta(), whole), "");
}

TEST_F(SelectionOverlayTest, keysActOnTheDisplayUnderThePointer) {
    ASSERT_TRUE(open(QPoint(300, 300)));
    ASSERT_TRUE(xdotool({"mousemove", "2500", "300"}));
    ASSERT_TRUE(waitUntil([&] { return view("RIGHT").underMouse(); }));
    ASSERT_TRUE(xdotool({"key", "f"}));
    const RegionChoice* whole = outcome<RegionChoice>();
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(whole->region.rect, QRectF(0, 0, 960, 540));
    EXPECT_EQ(firstDifference(whole->image.copy(180, 200, 300, 300),
                              expectedPattern(patternLayout[1], QPoint(0, 0), QSize(300, 300))),
              "");

    ASSERT_TRUE(open(QPoint(150, 150)));
    ASSERT_TRUE(xdotool({"key", "c"}));
    const ColorChoice* color = outcome<ColorChoice>();
    ASSERT_NE(color, nullptr);
    EXPECT_EQ(color->hex, QColor(patternColor(0x20, 50, 50)).name().toUpper());
}

TEST_F(SelectionOverlayTest, keyboardIsTakenOnceFreeAndEscapeLeavesNothingBehind) {
    // Another client holds the keyboard, as the hot key's grab does until
    // the key is released.
    const std::unique_ptr<X11Connection> holder = X11Connection::open();
    const std::unique_ptr<X11Connection> probe = X11Connection::open();
    const auto held =
        takeReply(holder->get(), xcb_grab_keyboard_reply,
                  xcb_grab_keyboard(holder->get(), 0, holder->root(), XCB_CURRENT_TIME,
                                    XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    ASSERT_TRUE(held && held->status == XCB_GRAB_STATUS_SUCCESS);
    ASSERT_TRUE(open(QPoint(300, 300)));
    xcb_ungrab_keyboard(holder->get(), XCB_CURRENT_TIME);
    // A round trip: the release is done before the probe asks.
    takeReply(holder->get(), xcb_get_input_focus_reply, xcb_get_input_focus(holder->get()));
    EXPECT_TRUE(
        waitUntil([&] { return keyboardGrabStatus(*probe) == XCB_GRAB_STATUS_ALREADY_GRABBED; }));

    ASSERT_TRUE(xdotool({"key", "Escape"}));
    ASSERT_NE(outcome<CancelChoice>(), nullptr);
    EXPECT_TRUE(controller->views().isEmpty());
    EXPECT_TRUE(waitUntil([&] { return keyboardGrabStatus(*probe) == XCB_GRAB_STATUS_SUCCESS; }));
    EXPECT_TRUE(waitUntil([] {
        const QWidgetList widgets = QApplication::topLevelWidgets();
        return std::none_of(widgets.begin(), widgets.end(),
                            [](QWidget* widget) { return widget->isVisible(); });
    }));
    // The screen shows Alpha undimmed again.
    EXPECT_TRUE(waitUntil([&] {
        const QImage pixel = services().screen.grabRegion(DisplayInfo(), QRect(300, 300, 1, 1));
        return pixel.pixel(0, 0) == patternColor(0x20, 200, 200);
    }));
}

} // namespace
} // namespace vellumix
