#include "XServerFixture.h"
#include "editor/ColorCopyToast.h"
#include "editor/EditingOverlay.h"
#include "editor/InPlaceEditorController.h"
#include "fakes/FakeClipboard.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakePins.h"
#include "platform/WindowKind.h"
#include "platform/qt/PlacedOverlays.h"
#include "platform/qt/QtDialogs.h"
#include "prefs/SettingsDefaults.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace vellumix {
namespace {

// Runs with RIGHT at scale 2 and no compositor (openbox alone).
class InPlaceEditorTest : public XServerTest {
protected:
    static QByteArray activeWindow() {
        QProcess process;
        process.start(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")});
        process.waitForFinished();
        return process.readAllStandardOutput().trimmed();
    }

    // Opens the in-place editor over `rect` (points of RIGHT) on a pattern
    // picture of the region's pixels, through the platform's overlays unless
    // given others.
    void openOver(QRectF rect, OverlaySurfaces* overlays = nullptr,
                  const QImage& backdrop = QImage()) {
        controller.reset();
        region = CaptureRegion{display("RIGHT").id, rect, 2.0};
        source = patternImage(region.pixelSize(), 0x50);
        const EditorServices services{defaults, dialogs, clipboard, pins};
        document = std::make_unique<EditorDocument>(source, 2.0, true, false, services);
        controller = std::make_unique<InPlaceEditorController>(
            *document, region, backdrop, services,
            overlays != nullptr ? *overlays : XServerTest::services().overlays,
            EditorActions{true, [] {}, [] {},
                          [] {
                          }});
        ASSERT_TRUE(waitUntil([&] {
            QWindow* window = controller->window()->windowHandle();
            return window != nullptr && window->isExposed() &&
                   activeWindow() == QByteArray::number(quint64(controller->window()->winId()));
        }));
    }

    QTemporaryDir dir;
    SettingsDefaults defaults{dir.filePath(QStringLiteral("defaults.ini"))};
    FakeDialogs dialogs;
    FakeClipboard clipboard;
    FakePins pins;
    CaptureRegion region;
    QImage source;
    std::unique_ptr<EditorDocument> document;
    std::unique_ptr<InPlaceEditorController> controller;
};

// Without a compositor nothing is dimmed; under one the rest of the screen
// is, and the picture still lies on its region pixel for pixel. The screen
// is read as the platform grabs it: the capture service would keep our own
// window out of its frame.
TEST_F(InPlaceEditorTest, pictureLiesOnItsRegionAtScaleTwoAndACompositorDimsTheRest) {
    openOver(QRectF(300, 200, 150.5, 60));
    EXPECT_EQ(controller->window()->viewport(), region.rect);
    EXPECT_FALSE(controller->window()->dims());
    QProcess compositor; // a failed test leaves it to the destructor to kill
    compositor.start(QStringLiteral("xcompmgr"), QStringList());
    ASSERT_TRUE(compositor.waitForStarted());
    ASSERT_TRUE(waitUntil([] { return windowkind::compositorActive(); }));
    openOver(QRectF(300, 200, 150.5, 60));
    EXPECT_TRUE(controller->window()->dims());
    // Pixel (50, 50) of Beta, at (2150, 250), lies under the dimming.
    const QRgb clear = patternColor(patternLayout[1].seed, 50, 50);
    const auto dimmed = [](int channel) {
        return int(std::lround(channel * 0.62));
    };
    QRgb seen = 0;
    EXPECT_TRUE(waitUntil([&] {
        seen = services().screen.grabRegion(DisplayInfo(), QRect(2150, 250, 1, 1)).pixel(0, 0);
        return std::abs(qRed(seen) - dimmed(qRed(clear))) <= 1 &&
               std::abs(qGreen(seen) - dimmed(qGreen(clear))) <= 1 &&
               std::abs(qBlue(seen) - dimmed(qBlue(clear))) <= 1;
    })) << std::hex
        << seen << " over " << clear;
    // (300, 200) points of RIGHT are pixel (2520, 400) of the X screen.
    const QRect pixels(QPoint(2520, 400), region.pixelSize());
    EXPECT_EQ(firstDifference(services().screen.grabRegion(DisplayInfo(), pixels), source), "");
    compositor.kill();
    compositor.waitForFinished();
}

TEST_F(InPlaceEditorTest, clickOutsideTheShownPartsReachesTheWindowBeneath) {
    openOver(QRectF(500, 300, 100, 50));
    const std::optional<WindowInfo> beta = patternWindow(QStringLiteral("Beta"));
    ASSERT_TRUE(beta);
    // Beta's middle, pixel (2250, 350), lies under the overlay's window.
    xdotool({"mousemove", "2250", "350", "click", "1"});
    EXPECT_TRUE(waitUntil([&] { return activeWindow() == QByteArray::number(beta->id); }));
}

// Where a window covering the display hides the desktop (drawn on black),
// the editor shows the display as it was around the region, and the clicks
// there are its own.
TEST_F(InPlaceEditorTest, whereTheDesktopIsHiddenTheBackdropShowsAroundTheRegionAndKeepsClicks) {
    FullScreenOverlays fullScreen;
    QImage backdrop(display("RIGHT").pixelRect().size(), QImage::Format_RGB32);
    backdrop.fill(0x203040);
    openOver(QRectF(500, 300, 100, 50), &fullScreen, backdrop);
    EXPECT_TRUE(controller->window()->takesAllInput());
    EXPECT_TRUE(waitUntil([&] {
        return services().screen.grabRegion(DisplayInfo(), QRect(2250, 350, 1, 1)).pixel(0, 0) ==
               0xff203040;
    }));
    const QRect pixels(QPoint(2920, 600), region.pixelSize());
    EXPECT_EQ(firstDifference(services().screen.grabRegion(DisplayInfo(), pixels), source), "");
    const auto editor = QByteArray::number(quint64(controller->window()->winId()));
    xdotool({"mousemove", "2250", "350", "click", "1"});
    QTest::qWait(300);
    EXPECT_EQ(activeWindow(), editor);
}

TEST_F(InPlaceEditorTest, toastLeavesTheFocusWhereItWas) {
    const std::optional<WindowInfo> alpha = patternWindow(QStringLiteral("Alpha"));
    ASSERT_TRUE(alpha);
    xdotool({"windowactivate", QString::number(alpha->id)});
    ASSERT_TRUE(waitUntil([&] { return activeWindow() == QByteArray::number(alpha->id); }));
    QPointer<ColorCopyToast> toast = ColorCopyToast::show(QStringLiteral("#3A7BFF"));
    ASSERT_TRUE(waitUntil([&] {
        return toast != nullptr && toast->windowHandle() != nullptr &&
               toast->windowHandle()->isExposed();
    }));
    EXPECT_EQ(toast->text(), QStringLiteral("Copied #3A7BFF"));
    EXPECT_EQ(activeWindow(), QByteArray::number(alpha->id));
    EXPECT_TRUE(waitUntil([&] { return toast == nullptr; }));
    EXPECT_EQ(activeWindow(), QByteArray::number(alpha->id));
}

// The hot key's question after a click on a window beneath the editor: the
// application has no active window then.
TEST_F(InPlaceEditorTest, questionsOpenAboveItWhileAnotherWindowIsActive) {
    openOver(QRectF(500, 300, 100, 50));
    const auto editor = quint32(controller->window()->winId());
    const std::optional<WindowInfo> alpha = patternWindow(QStringLiteral("Alpha"));
    ASSERT_TRUE(alpha);
    xdotool({"windowactivate", QString::number(alpha->id)});
    ASSERT_TRUE(waitUntil([&] { return activeWindow() == QByteArray::number(alpha->id); }));
    bool above = false;
    QTimer::singleShot(0, [&] {
        QWidget* question = QApplication::activeModalWidget();
        // Front-most first: whichever of the two comes first is on top.
        above = waitUntil([&] {
            for (const WindowInfo& window : services().windows.windows()) {
                if (window.id == editor || window.id == quint32(question->winId())) {
                    return window.id != editor;
                }
            }
            return false;
        });
        question->close();
    });
    QtDialogs().alert({QStringLiteral("Save your changes?"), QString()});
    EXPECT_TRUE(above);
}

} // namespace
} // namespace vellumix
