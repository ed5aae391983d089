// The overlay and the in-place editor in the headless GNOME session of
// scripts/gnome.sh, with mutter's remote input: the desktop's screen-share
// dialog answered, a drag copied as the screen shows it, the display as it
// was around the editor (the desktop draws full-screen windows on black),
// and nothing left on screen after; a scrolling capture stitched from the
// page alone wherever the desktop puts the panel.

#include "selection/FrozenDisplay.h"
#include "session/CaptureControlsController.h"
#include "session/CaptureControlsView.h"
#include "support/ImageDifference.h"
#include "support/LiveSession.h"
#include "support/ScrollPage.h"

#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace vellumix {
namespace {

QString state(const QString& name) {
    return qEnvironmentVariable("VELLUMIX_GNOME_STATE") + QLatin1Char('/') + name;
}

// One line of real input (scripts/gnome-remote.c).
bool input(const QString& line) {
    return sendInput(state(QStringLiteral("input")), line, 60);
}

bool pointerAt(QPoint at) {
    return input(QStringLiteral("motion %1 %2").arg(at.x()).arg(at.y()));
}

bool button(bool pressed) {
    return input(QStringLiteral("button 272 %1").arg(int(pressed)));
}

bool click(QPoint at) {
    return pointerAt(at) && button(true) && button(false);
}

bool drag(QPoint from, QPoint to) {
    return pointerAt(from) && button(true) && pointerAt((from + to) / 2) && pointerAt(to) &&
           button(false);
}

// `keys` pressed in order, then released in reverse: a chord.
bool chord(const QStringList& keys) {
    bool sent = true;
    for (const QString& key : keys) {
        sent = sent && input(QStringLiteral("key %1 1").arg(key));
    }
    for (auto key = keys.rbegin(); key != keys.rend(); ++key) {
        sent = sent && input(QStringLiteral("key %1 0").arg(*key));
    }
    return sent;
}

class OverlayGnomeTest : public ::testing::Test, protected LiveSession {
protected:
    void TearDown() override { end(HasFailure()); }

    // The monitor as mutter shows it, from a cast of its own; the pointer is
    // moved (to `pointer`) so that the cast has a frame to give.
    QImage screen(const QString& name, QPoint pointer = QPoint(1900, 1060)) {
        QFile nodeFile(state(QStringLiteral("screen-node")));
        nodeFile.open(QIODevice::ReadOnly);
        const QString node = QString::fromLatin1(nodeFile.readAll().trimmed());
        pointerAt(pointer);
        QTest::qWait(200);
        QProcess shot;
        shot.start(QStringLiteral("gst-launch-1.0"),
                   {"-q", "pipewiresrc", "path=" + node, "num-buffers=1", "!", "videoconvert", "!",
                    "pngenc", "!", "filesink", "location=" + folder.filePath(name + ".png")});
        QTest::qWait(400);
        pointerAt(pointer + QPoint(1, 0));
        pointerAt(pointer);
        if (!QTest::qWaitFor([&] { return shot.state() == QProcess::NotRunning; }, 10'000)) {
            shot.kill();
            shot.waitForFinished();
        }
        // The desktop draws the pointer only once it has moved: left out.
        QImage image = pixels(QImage(folder.filePath(name + ".png")));
        QPainter(&image).fillRect(QRect(pointer - QPoint(16, 16), QSize(64, 64)), Qt::black);
        return image;
    }

    // Starts a capture; the first asks the desktop, whose dialog (centred on
    // the monitor) gets the monitor chosen and Share clicked.
    void open() {
        session->start();
        if (!QTest::qWaitFor([this] { return session->selector().views().size() == 1; }, 3'000)) {
            ASSERT_TRUE(click(QPoint(800, 566)) && click(QPoint(1166, 412)));
        }
        ASSERT_TRUE(QTest::qWaitFor(
            [this] {
                return session->selector().views().size() == 1 &&
                       QGuiApplication::focusWindow() != nullptr;
            },
            20'000));
        QTest::qWait(500); // drawn, mapped and past the desktop's animation
    }

    void nothingLeft(const QImage& before) {
        ASSERT_TRUE(QTest::qWaitFor(
            [this] { return session->selector().views().isEmpty() && !inPlace.isOpen(); }));
        QTest::qWait(500);
        EXPECT_EQ(firstDifference(screen(QStringLiteral("after")), before), "");
    }
};

TEST_F(OverlayGnomeTest, dragCopiesTheRegionTheEditorShowsTheDisplayAroundItEscapeLeavesNothing) {
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("wayland"));
    const QRect region(300, 200, 600, 400);
    const QImage still = screen(QStringLiteral("still"));
    ASSERT_FALSE(still.isNull());

    // Escape on the overlay itself.
    ASSERT_NO_FATAL_FAILURE(open());
    ASSERT_TRUE(chord({"Escape"}));
    ASSERT_NO_FATAL_FAILURE(nothingLeft(still));

    // A drag: the editor lies on the region, the display as it was, dimmed,
    // around it; Ctrl+C copies the region as the screen showed it.
    ASSERT_NO_FATAL_FAILURE(open());
    ASSERT_TRUE(drag(region.topLeft(), region.bottomRight() + QPoint(1, 1)));
    ASSERT_TRUE(QTest::qWaitFor([this] { return inPlace.isOpen() && !session->busy(); }));
    QTest::qWait(500);
    const QImage editing = screen(QStringLiteral("editing"));
    const QRect inside = region.adjusted(10, 10, -10, -10);
    EXPECT_EQ(firstDifference(editing.copy(inside), still.copy(inside)), "");
    const QImage dimmed = pixels(
        FrozenDisplay::prepare(platform->services().displays.displays().front(), still).dimmed);
    for (const QPoint at : {QPoint(100, 100), QPoint(1500, 300), QPoint(600, 900)}) {
        EXPECT_EQ(editing.pixel(at), dimmed.pixel(at)) << at.x() << ", " << at.y();
    }
    ASSERT_TRUE(chord({"Control_L", "c"}));
    EXPECT_EQ(firstDifference(pixels(QImage::fromData(pasted(QStringLiteral("image/png")))),
                              still.copy(region)),
              "");
    ASSERT_NO_FATAL_FAILURE(nothingLeft(still));
}

// The page scrolled with the real wheel, from the editor's Ctrl+Shift+L: the
// desktop puts the panel where it likes, here over the region, and the image
// stitched is the page alone.
TEST_F(OverlayGnomeTest, scrollingCaptureStitchesThePageAloneWhereverThePanelLies) {
    constexpr int notch = 40;
    const testing::ScrollPage page({.width = 1800, .height = 3000, .seed = 1});
    QProcess pageWindow;
    pageWindow.start(VELLUMIX_SCROLL_PAGE, {"0,0,1800,1000", QString::number(notch)});
    const QRect region(200, 150, 800, 750);
    // Mutter maps the only window at the monitor's top left.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return firstDifference(screen(QStringLiteral("page")).copy(region),
                                   pixels(page.image().copy(region))) == "";
        },
        20'000));

    ASSERT_NO_FATAL_FAILURE(open());
    ASSERT_TRUE(drag(region.topLeft(), region.bottomRight() + QPoint(1, 1)));
    ASSERT_TRUE(QTest::qWaitFor([this] {
        return inPlace.isOpen() && !session->busy() && QGuiApplication::focusWindow() != nullptr;
    }));
    // Mutter may land the drag a pixel off; the page is known everywhere.
    const QRect chosen = session->selectedRegion()->rect.toRect();
    ASSERT_TRUE(chord({"Control_L", "Shift_L", "l"}));
    ASSERT_TRUE(QTest::qWaitFor([this] { return session->captureControls() != nullptr; }));
    QTest::qWait(1000); // the editor off the screen, so that the wheel reaches the page
    for (int step = 1; step <= 3; ++step) {
        ASSERT_TRUE(pointerAt(QPoint(1750, 950)) && input("axis 1") && input("axis 1"));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return session->height() == chosen.height() + 2 * step * notch; }, 10'000))
            << qPrintable(session->detail());
    }
    session->captureControls()->panel()->finishButton()->click();
    ASSERT_TRUE(QTest::qWaitFor([this] { return session->editor() != nullptr; }));
    EXPECT_EQ(firstDifference(pixels(session->editor()->source()),
                              pixels(page.image().copy(chosen.adjusted(0, 0, 0, 6 * notch)))),
              "");
    session->finishEditing();
}

} // namespace
} // namespace vellumix
