#include "XServerFixture.h"
#include "pins/PinnedImageView.h"
#include "pins/PinnedImages.h"
#include "platform/WindowKind.h"
#include "platform/qt/QtClipboard.h"

#include <QPushButton>
#include <QSlider>

namespace vellumix {
namespace {

class PinWindowTest : public XServerTest {
protected:
    // Standard output of a command run to its end while this process keeps
    // serving X requests (the clipboard's owner must answer them).
    static QByteArray outputOf(const QString& program, const QStringList& arguments) {
        QProcess process;
        process.start(program, arguments);
        if (!process.waitForStarted() ||
            !waitUntil([&] { return process.state() == QProcess::NotRunning; })) {
            ADD_FAILURE() << program.toStdString() << " did not finish";
            process.kill();
            process.waitForFinished();
        }
        return process.readAllStandardOutput();
    }

    bool pinIsFrontMost() {
        const QList<WindowInfo> windows = services().windows.windows();
        return !windows.isEmpty() && windows.front().title == PinnedImages::title;
    }

    QtClipboard clipboard;
};

TEST_F(PinWindowTest, pinStaysAboveOnEveryDesktopAndItsCopyReachesOtherClients) {
    PinnedImages pins(clipboard);
    const QImage image = patternImage(QSize(300, 200), 0x30);
    pins.show(image, 1);
    auto* view = static_cast<PinnedImageView*>(pins.windows().front());
    ASSERT_TRUE(waitUntil([&] { return pinIsFrontMost(); }));

    const QByteArray desktop =
        outputOf("xprop", {"-id", QString::number(view->winId()), "_NET_WM_DESKTOP"});
    EXPECT_EQ(desktop.trimmed(), QByteArray("_NET_WM_DESKTOP(CARDINAL) = 4294967295"));

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

    view->copyButton()->click();
    const QByteArray png = outputOf("xclip", {"-selection", "clipboard", "-t", "image/png", "-o"});
    const QImage pasted = QImage::fromData(png, "PNG");
    EXPECT_EQ(firstDifference(pasted.convertToFormat(image.format()), image), std::string());
}

} // namespace
} // namespace vellumix
