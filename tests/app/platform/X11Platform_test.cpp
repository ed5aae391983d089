#include "XServerFixture.h"

#include <QColorSpace>
#include <QPainter>
#include <QRasterWindow>
#include <QTimer>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <csignal>
#include <tuple>

namespace vellumix {
namespace {

class SolidWindow final : public QRasterWindow {
public:
    explicit SolidWindow(const QRect& geometry) {
        setFlags(Qt::Window | Qt::FramelessWindowHint);
        setGeometry(geometry);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(QRect(QPoint(0, 0), size()), Qt::magenta);
    }
};

// Fills that keep the X server busy for a while, queued on Qt's connection
// ahead of whatever Qt sends next.
void queueWorkOnQtConnection(int fills) {
    xcb_connection_t* c =
        qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_pixmap_t pixmap = xcb_generate_id(c);
    xcb_create_pixmap(c, screen->root_depth, pixmap, screen->root, 2048, 2048);
    const xcb_gcontext_t gc = xcb_generate_id(c);
    xcb_create_gc(c, gc, pixmap, 0, nullptr);
    const xcb_rectangle_t all{0, 0, 2048, 2048};
    for (int i = 0; i < fills; ++i) {
        xcb_poly_fill_rectangle(c, pixmap, gc, 1, &all);
    }
    xcb_free_gc(c, gc);
    xcb_free_pixmap(c, pixmap);
}

using X11PlatformTest = XServerTest;

// Sets or removes a property the way another client would.
bool xprop(QStringList arguments) {
    return QProcess::execute(QStringLiteral("xprop"), arguments) == 0;
}

TEST_F(X11PlatformTest, windowTypesDecideTheLayerAndDesktopsAreNoWindows) {
    const std::pair<const char*, std::optional<int>> rows[] = {
        {"_NET_WM_WINDOW_TYPE_DESKTOP", std::nullopt},
        {"_NET_WM_WINDOW_TYPE_DOCK", 20},
        {"_NET_WM_WINDOW_TYPE_MENU", 24},
        {"_NET_WM_WINDOW_TYPE_POPUP_MENU", 101},
    };
    for (int i = 0; i < 4; ++i) {
        const QString title = patternLayout[i].title;
        const std::optional<WindowInfo> window = patternWindow(title);
        ASSERT_TRUE(window) << title.toStdString();
        ASSERT_TRUE(xprop({"-id", QString::number(window->id), "-f", "_NET_WM_WINDOW_TYPE", "32a",
                           "-set", "_NET_WM_WINDOW_TYPE", rows[i].first}));
        const std::optional<WindowInfo> typed = patternWindow(title);
        EXPECT_EQ(typed ? std::optional(typed->layer) : std::nullopt, rows[i].second)
            << rows[i].first;
    }
}

// Without a window manager's list the root's children are the windows; an
// untyped override-redirect one is a menu, and one partly off the screen
// keeps its whole frame.
TEST_F(X11PlatformTest, overrideRedirectWindowPartlyOffScreenIsAPopupWithItsWholeFrame) {
    SolidWindow popup(QRect(-50, 1000, 200, 200));
    popup.setFlags(popup.flags() | Qt::BypassWindowManagerHint);
    popup.show();
    ASSERT_TRUE(waitUntil([&] { return popup.isExposed(); }));
    const QString id = QString::number(popup.winId());
    ASSERT_TRUE(xprop({"-id", id, "-remove", "_NET_WM_WINDOW_TYPE"}));
    std::optional<WindowInfo> listed;
    ASSERT_TRUE(waitUntil([&] {
        // The window manager may write its list again; take it away each time.
        xprop({"-root", "-remove", "_NET_CLIENT_LIST_STACKING"});
        for (const WindowInfo& window : services().windows.windows()) {
            if (window.id == popup.winId()) {
                listed = window;
            }
        }
        return listed.has_value();
    }));
    EXPECT_EQ(listed->layer, 101);
    EXPECT_EQ(listed->frame, QRectF(-50, 1000, 200, 200));
    // A restack has the window manager write its list again for later tests.
    popup.hide();
    xdotool({"search", "--name", "Framed", "windowraise"});
    EXPECT_TRUE(waitUntil([this] { return patternWindows().size() == 5; }));
}

// The fixture has waited for the list to hold the pattern windows in their
// order; each is listed with its application, in the normal layer, and a
// decorated one's frame takes in its decorations.
TEST_F(X11PlatformTest, windowsAreListedWithTheirFramesAndTheirImageIsTheWindowAsShown) {
    const std::optional<WindowInfo> alpha = patternWindow(QStringLiteral("Alpha"));
    ASSERT_TRUE(alpha) << "Alpha is not listed";
    EXPECT_EQ(std::tuple(alpha->appName, alpha->layer, alpha->frame),
              std::tuple(QStringLiteral("PatternWindows"), 0, QRectF(patternLayout[0].pixels)));
    const QRectF framed = patternWindow(QStringLiteral("Framed")).value_or(WindowInfo()).frame;
    EXPECT_GT(framed.height(), patternLayout[4].pixels.height());
    EXPECT_GE(framed.width(), patternLayout[4].pixels.width());
    EXPECT_EQ(firstDifference(services().windows.windowImage(alpha->id),
                              expectedPattern(patternLayout[0], QPoint(0, 0), QSize(400, 300))),
              "");
    // Left, right, top and bottom, as a toolkit that draws its own frame sets them.
    ASSERT_TRUE(xprop({"-id", QString::number(alpha->id), "-f", "_GTK_FRAME_EXTENTS", "32c", "-set",
                       "_GTK_FRAME_EXTENTS", "10, 20, 30, 40"}));
    EXPECT_TRUE(waitUntil([&] {
        return patternWindow(QStringLiteral("Alpha"))->frame == QRectF(110, 130, 370, 230);
    }));
    EXPECT_EQ(firstDifference(services().windows.windowImage(alpha->id),
                              expectedPattern(patternLayout[0], QPoint(10, 30), QSize(370, 230))),
              "");
}

TEST_F(X11PlatformTest, regionCaptureIsExactAndLeavesOutOurOwnWindowMarkedOwn) {
    SolidWindow own(QRect(150, 150, 100, 100));
    own.setTitle(QStringLiteral("Own panel"));
    own.show();
    // Mapped and drawn first (its expose event), then brought to the front.
    // The window manager may map a new window below the one that has the
    // focus, so the test asks for the raise until it is granted.
    ASSERT_TRUE(waitUntil([&] {
        if (!own.isExposed()) {
            return false;
        }
        const QList<WindowInfo> windows = services().windows.windows();
        if (!windows.isEmpty() && windows.first().title == own.title()) {
            return true;
        }
        own.raise();
        return false;
    }));
    EXPECT_TRUE(services().windows.windows().first().isOwn());

    // However late the X server gets to Qt's requests (its connection loaded)
    // or the window manager to taking the window's frame down (held up).
    const pid_t manager = windowManager();
    ASSERT_NE(manager, 0);
    const DisplayInfo left = display("LEFT");
    for (int round = 0; round < 10; ++round) {
        ASSERT_TRUE(waitUntil([&] {
            own.raise();
            return services().screen.grabRegion(left, QRect(200, 200, 1, 1)).pixel(0, 0) ==
                   QColor(Qt::magenta).rgb();
        }));
        if (round % 2 == 0) {
            queueWorkOnQtConnection(200);
        } else {
            ::kill(manager, SIGSTOP);
            QTimer::singleShot(300, [manager] { ::kill(manager, SIGCONT); });
        }
        const QImage frame = capture(CaptureRegion{left.id, QRectF(120, 120, 200, 150), 1.0});
        ::kill(manager, SIGCONT);
        EXPECT_EQ(frame.colorSpace(), QColorSpace(QColorSpace::SRgb));
        EXPECT_EQ(firstDifference(
                      frame, expectedPattern(patternLayout[0], QPoint(20, 20), QSize(200, 150))),
                  "")
            << "round " << round;
        EXPECT_TRUE(own.isVisible());
    }
}

// Runs with QT_SCREEN_SCALE_FACTORS giving RIGHT a scale of 2.
using ScaledDisplayTest = XServerTest;

TEST_F(ScaledDisplayTest, monitorsAreDisplaysInPointsThatKeepTheirPixels) {
    ASSERT_EQ(services().displays.displays().size(), 2);
    const DisplayInfo left = display("LEFT");
    const DisplayInfo right = display("RIGHT");
    EXPECT_EQ(std::tuple(left.frame, left.scale), std::tuple(QRectF(0, 0, 1920, 1080), 1.0));
    EXPECT_TRUE(left.frame.contains(left.visibleFrame));
    EXPECT_EQ(std::tuple(right.scale, right.frame, right.bottomLeftFrame, right.pixelRect()),
              std::tuple(2.0, QRectF(1920, 0, 960, 540), QRectF(1920, 540, 960, 540),
                         QRect(1920, 0, 1920, 1080)));
    EXPECT_TRUE(services().permission.screenRecordingGranted());
    // Windows and the pointer on RIGHT are in its points too: pixel (2500,
    // 300) of the screen is 580 × 300 pixels into RIGHT.
    EXPECT_EQ(patternWindow("Beta").value_or(WindowInfo()).frame, QRectF(2010, 100, 150, 150));
    ASSERT_TRUE(xdotool({"mousemove", "2500", "300"}));
    EXPECT_TRUE(
        waitUntil([&] { return services().displays.mouseLocation() == QPointF(2210, 150); }));
}

TEST_F(ScaledDisplayTest, regionAtScaleTwoReturnsExactlyItsDevicePixels) {
    const DisplayInfo right = display("RIGHT");
    // (100, 110) points are pixels (200, 220) of RIGHT, (20, 20) into Beta;
    // 50.5 points round to 101 pixels.
    const QImage frame = capture(CaptureRegion{right.id, QRectF(100, 110, 50.5, 40), 2.0});
    ASSERT_EQ(frame.size(), QSize(101, 80));
    EXPECT_EQ(
        firstDifference(frame, expectedPattern(patternLayout[1], QPoint(20, 20), QSize(101, 80))),
        "");
}

} // namespace
} // namespace vellumix
