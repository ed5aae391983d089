#include "XServerFixture.h"
#include "pins/PinnedImageView.h"
#include "pins/PinnedImages.h"
#include "platform/WindowKind.h"
#include "platform/qt/QtClipboard.h"

#include <QSlider>

namespace vellumix {
namespace {

class PinWindowTest : public XServerTest {
protected:
    bool pinIsFrontMost() {
        const QList<WindowInfo> windows = services().windows.windows();
        return !windows.isEmpty() && windows.front().title == PinnedImages::title;
    }

    QtClipboard clipboard;
};

TEST_F(PinWindowTest, pinStaysAboveOnEveryDesktopAndOpaqueWithoutACompositor) {
    PinnedImages pins(clipboard, services().overlays);
    pins.show(patternImage(QSize(300, 200), 0x30), 1);
    auto* view = static_cast<PinnedImageView*>(pins.windows().front());
    ASSERT_TRUE(waitUntil([&] { return pinIsFrontMost(); }));

    QProcess xprop;
    xprop.start("xprop", {"-id", QString::number(view->winId()), "_NET_WM_DESKTOP"});
    ASSERT_TRUE(xprop.waitForFinished());
    EXPECT_EQ(xprop.readAllStandardOutput().trimmed(), "_NET_WM_DESKTOP(CARDINAL) = 4294967295");

    const std::optional<WindowInfo> alpha = patternWindow(QStringLiteral("Alpha"));
    ASSERT_TRUE(alpha);
    ASSERT_TRUE(xdotool({"windowactivate", QString::number(alpha->id)}));
    ASSERT_TRUE(waitUntil([&] {
        const QList<WindowInfo> windows = patternWindows();
        return !windows.isEmpty() && windows.front().title == QStringLiteral("Alpha");
    })) << "Alpha was not raised";
    EXPECT_TRUE(pinIsFrontMost());

    // Without a compositor the pin stays opaque and keeps the slider's value.
    view->opacitySlider()->setValue(view->opacitySlider()->minimum());
    EXPECT_EQ(view->windowOpacity(), windowkind::compositorActive() ? 0.3 : 1.0);
}

} // namespace
} // namespace vellumix
