// The overlay, the in-place editor, the scrolling-capture panel and pins in
// the session of scripts/wayland.sh, with sway's pointer and wtype's keys:
// what the user copies, saves and stitches is what the compositor shows, at
// scale 2 too; the editor leaves the rest of the desktop usable; panels and
// pins stay above other windows; nothing stays on screen after.

#include "editor/EditingOverlay.h"
#include "pins/PinnedImages.h"
#include "session/CaptureControlsController.h"
#include "session/CaptureControlsView.h"
#include "support/LiveSession.h"
#include "support/ScrollPage.h"

#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace vellumix {
namespace {

// One command line; words split at spaces (swaymsg joins them again).
bool run(const QString& line) {
    QStringList words = line.split(QLatin1Char(' '));
    return QProcess::execute(words.takeFirst(), words) == 0;
}

// The session's virtual pointer (scripts/wayland-pointer.c): sway sends no
// motion while a button is held after `seat cursor set`, so drags go there.
bool pointer(const QString& command) {
    return sendInput(qEnvironmentVariable("VELLUMIX_WAYLAND_STATE") + "/pointer-input", command,
                     100);
}

// Both outputs side by side make a layout of 3520 × 1080.
bool pointerAt(QPoint at) {
    return pointer(QStringLiteral("move %1 %2 3520 1080").arg(at.x()).arg(at.y()));
}

bool drag(QPoint from, QPoint to) {
    return pointerAt(from) && pointer("press") && pointerAt((from + to) / 2) && pointerAt(to) &&
           pointer("release");
}

bool click(QPoint at) {
    return pointerAt(at) && pointer("press") && pointer("release");
}

// One wheel button of sway's seat: "button5" scrolls down, "button4" up.
bool wheel(const QString& button) {
    return run("swaymsg seat seat0 cursor press " + button) &&
           run("swaymsg seat seat0 cursor release " + button);
}

class OverlayWaylandTest : public ::testing::Test, protected LiveSession {
protected:
    void SetUp() override {
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("wayland"));
        // A keyboard for the whole test: the seat offers clients none while
        // no keyboard is attached, and the one each wtype brings leaves with it.
        keyboard.start(QStringLiteral("wtype"), {QStringLiteral("-s"), QStringLiteral("600000")});
        page.start(VELLUMIX_SCROLL_PAGE, {QStringLiteral("0,0,500,800"), QStringLiteral("60")});
        ASSERT_TRUE(QTest::qWaitFor(
            [] {
                return run("swaymsg [app_id=vellumix-scroll-page] move absolute position 300 150");
            },
            20'000));
    }

    void TearDown() override {
        end(HasFailure());
        for (QProcess* process : {&keyboard, &page}) {
            process->kill();
            process->waitForFinished();
        }
    }

    bool grim(QStringList arguments, const QString& file) {
        return QProcess::execute(QStringLiteral("grim"), arguments << folder.filePath(file)) == 0;
    }
    QImage file(const QString& name) { return pixels(QImage(folder.filePath(name))); }
    // The screen as it is, the cursor (drawn into the outputs) at `pointer`.
    void still(QPoint pointer) {
        ASSERT_TRUE(pointerAt(pointer));
        QTest::qWait(300); // sway's next frame
        ASSERT_TRUE(grim({}, "still.png"));
    }
    // Starts a capture; done once both outputs show their overlay.
    void open() {
        session->start();
        ASSERT_TRUE(
            QTest::qWaitFor([this] { return session->selector().views().size() == 2; }, 20'000));
        QTest::qWait(300); // drawn and mapped
    }
    QSize editorSize() const {
        return session->editor() != nullptr ? session->editor()->source().size() : QSize();
    }
    // A drag over `region` of the scale-1 output.
    void select(QRect region) {
        ASSERT_NO_FATAL_FAILURE(open());
        ASSERT_TRUE(drag(region.topLeft(), region.bottomRight() + QPoint(1, 1)));
        ASSERT_NO_FATAL_FAILURE(editorOpens());
    }
    void editorOpens() {
        ASSERT_TRUE(QTest::qWaitFor([this] { return inPlace.isOpen() && !session->busy(); }));
        QTest::qWait(300); // mapped, with the keyboard
    }
    // Once all is closed, the screen is as it was before.
    void nothingLeft() {
        ASSERT_TRUE(QTest::qWaitFor(
            [this] { return session->selector().views().isEmpty() && !inPlace.isOpen(); }));
        QTest::qWait(300);
        ASSERT_TRUE(grim({}, "after.png"));
        EXPECT_EQ(file("after.png"), file("still.png"));
    }
    QImage pastedImage() { return pixels(QImage::fromData(pasted("image/png"))); }

    QProcess keyboard;
    QProcess page;
    const testing::ScrollPage expected{{.width = 500, .height = 3000, .seed = 1}};
    static constexpr QPoint pageAt{300, 150};
};

TEST_F(OverlayWaylandTest, dragCopiesTheRegionFullDisplayTakesScaleTwoEscapeLeavesNothing) {
    // A drag over the page on the scale-1 output, copied from the in-place
    // editor, which closes on copying.
    const QRect region(350, 200, 300, 200);
    ASSERT_NO_FATAL_FAILURE(still(region.bottomRight() + QPoint(1, 1)));
    ASSERT_TRUE(grim({"-g", "350,200 300x200"}, "region.png"));
    ASSERT_NO_FATAL_FAILURE(select(region));
    ASSERT_TRUE(run("wtype -M ctrl c -m ctrl"));
    EXPECT_EQ(pastedImage(), file("region.png"));
    ASSERT_NO_FATAL_FAILURE(nothingLeft());

    // F over the scale-2 output: all of its device pixels; Escape closes the
    // editor. The headless outputs draw the cursor into themselves: a frozen
    // image read from a cast leaves it out, one copied while the cast has no
    // frame yet shows it, so either reference will do.
    ASSERT_NO_FATAL_FAILURE(still(QPoint(1000, 500)));
    ASSERT_TRUE(grim({"-o", "HEADLESS-2"}, "output.png"));
    ASSERT_NO_FATAL_FAILURE(still(QPoint(2700, 500)));
    ASSERT_TRUE(grim({"-o", "HEADLESS-2"}, "output-cursor.png"));
    ASSERT_NO_FATAL_FAILURE(open());
    ASSERT_TRUE(run("wtype f"));
    ASSERT_NO_FATAL_FAILURE(editorOpens());
    const QImage frozen = pixels(session->editor()->source());
    EXPECT_TRUE(frozen == file("output.png") || frozen == file("output-cursor.png"));
    ASSERT_TRUE(run("wtype -k Escape"));
    ASSERT_NO_FATAL_FAILURE(nothingLeft());

    // Escape on the overlay itself.
    ASSERT_NO_FATAL_FAILURE(open());
    ASSERT_TRUE(run("wtype -k Escape"));
    ASSERT_NO_FATAL_FAILURE(nothingLeft());

    // A click on the page takes its window as the screen shows it; C copies
    // the colour under the pointer, which the loupe shows.
    ASSERT_TRUE(grim({"-g", "300,150 500x800"}, "window.png"));
    ASSERT_TRUE(grim({"-g", "400,300 1x1"}, "pixel.png"));
    ASSERT_NO_FATAL_FAILURE(open());
    ASSERT_TRUE(click(QPoint(780, 930)));
    ASSERT_TRUE(QTest::qWaitFor([this] { return editorSize() == QSize(500, 800); }));
    EXPECT_EQ(pixels(session->editor()->source()), file("window.png"));
    ASSERT_NO_FATAL_FAILURE(open());
    ASSERT_TRUE(pointerAt(QPoint(400, 300)));
    ASSERT_TRUE(grim({}, "loupe.png"));
    ASSERT_TRUE(run("wtype c"));
    EXPECT_EQ(pasted("text/plain"), file("pixel.png").pixelColor(0, 0).name().toUpper());

    // Shift-clicks on the page and on a second window, then Return: both.
    QProcess second;
    second.start(VELLUMIX_SCROLL_PAGE, {QStringLiteral("0,0,300,300"), QStringLiteral("60")});
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return run(QStringLiteral("swaymsg [pid=%1] move absolute position 900 150")
                           .arg(second.processId()));
        },
        20'000));
    ASSERT_TRUE(pointerAt(QPoint(1500, 700))); // the cursor off both windows
    ASSERT_NO_FATAL_FAILURE(open());
    QProcess shift;
    shift.start(QStringLiteral("wtype"), {"-M", "shift", "-s", "2000", "-m", "shift"});
    QTest::qWait(300);
    ASSERT_TRUE(click(QPoint(780, 930)) && click(QPoint(1000, 300)));
    ASSERT_TRUE(shift.waitForFinished());
    ASSERT_TRUE(run("wtype -k Return"));
    ASSERT_TRUE(QTest::qWaitFor([this] { return editorSize() == QSize(900, 800); }));
    EXPECT_EQ(pixels(session->editor()->source()).copy(0, 0, 500, 800), file("window.png"));

    // With the second window over the page, Tab reaches the page beneath;
    // Shift+Space chooses it.
    ASSERT_TRUE(run(
        QStringLiteral("swaymsg [pid=%1] move absolute position 700 150").arg(second.processId())));
    ASSERT_NO_FATAL_FAILURE(open());
    ASSERT_TRUE(pointerAt(QPoint(750, 300)));
    ASSERT_TRUE(run("wtype -k Tab -M shift -k space -m shift -k Return"));
    ASSERT_TRUE(QTest::qWaitFor([this] { return editorSize() == QSize(500, 800); }));
    second.kill();
    second.waitForFinished();
}

TEST_F(OverlayWaylandTest, editorSavesUndoesAndSharesTheDesktopPanelAndPinsStayAbove) {
    // Tall enough that two wheel notches move less than half of it.
    const QRect region(350, 200, 300, 400);
    ASSERT_NO_FATAL_FAILURE(still(QPoint(1000, 500)));
    ASSERT_TRUE(grim({"-g", "350,200 300x400"}, "region.png"));

    // A rectangle drawn, undone and redone, then saved with Ctrl+S.
    ASSERT_NO_FATAL_FAILURE(select(region));
    ASSERT_TRUE(run("wtype r"));
    ASSERT_TRUE(drag(region.topLeft() + QPoint(40, 40), region.topLeft() + QPoint(140, 120)));
    const auto marks = [this] {
        return session->editor()->state().marks.size();
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return marks() == 1; }));
    ASSERT_TRUE(run("wtype -M ctrl z -m ctrl"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return marks() == 0; }));
    ASSERT_TRUE(run("wtype -M ctrl -M shift z -m shift -m ctrl"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return marks() == 1; }));
    dialogs.fileAnswers.push_back(folder.filePath("saved.png"));
    ASSERT_TRUE(run("wtype -M ctrl s -m ctrl"));
    ASSERT_TRUE(QTest::qWaitFor([this] { return !inPlace.isOpen(); }));
    const QImage saved = file("saved.png");
    EXPECT_EQ(saved.size(), region.size());
    EXPECT_NE(saved, file("region.png"));

    // R reselects that region. Wheel notches beside the editor reach the
    // page under it, and the editor's own toolbar still takes clicks.
    ASSERT_TRUE(pointerAt(QPoint(1000, 500)));
    ASSERT_NO_FATAL_FAILURE(open());
    ASSERT_TRUE(run("wtype r"));
    ASSERT_NO_FATAL_FAILURE(editorOpens());
    ASSERT_TRUE(grim({}, "editor.png"));
    const auto strip = [this] {
        return grim({"-g", "300,850 500x50"}, "strip.png") ? file("strip.png") : QImage();
    };
    ASSERT_TRUE(pointerAt(QPoint(750, 900)));
    const QImage unscrolled = strip();
    ASSERT_TRUE(wheel("button5"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return strip() != unscrolled; }));
    for (int n = 0; n < 3; ++n) {
        ASSERT_TRUE(wheel("button4"));
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return strip() == unscrolled; }));
    ASSERT_TRUE(inPlace.isOpen());
    const QList<QToolButton*> buttons = inPlace.window()->findChildren<QToolButton*>();
    const auto copy = std::find_if(buttons.begin(), buttons.end(), [](const QToolButton* button) {
        return button->accessibleName() == "Copy image";
    });
    ASSERT_NE(copy, buttons.end());
    ASSERT_TRUE(click((*copy)->mapToGlobal((*copy)->rect().center())));
    EXPECT_EQ(pastedImage(), file("region.png"));

    // Scrolling: the panel beside the region, wheel notches on the page,
    // Finish; the page's rows, none of the panel's.
    ASSERT_NO_FATAL_FAILURE(select(region));
    ASSERT_TRUE(run("wtype -M ctrl -M shift l -m shift -m ctrl"));
    ASSERT_TRUE(QTest::qWaitFor([this] { return session->captureControls() != nullptr; }));
    QTest::qWait(300);
    ASSERT_TRUE(grim({}, "panel.png"));
    CaptureControlsView* panel = session->captureControls()->panel();
    EXPECT_FALSE(panel->geometry().intersects(region));
    ASSERT_TRUE(pointerAt(QPoint(750, 900)));
    for (int n = 0; n < 2; ++n) {
        const int before = session->height();
        ASSERT_TRUE(wheel("button5"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return session->height() > before; }, 10'000))
            << session->detail().toStdString();
    }
    const QPushButton* finish = panel->finishButton();
    ASSERT_TRUE(click(finish->mapToGlobal(finish->rect().center())));
    ASSERT_TRUE(
        QTest::qWaitFor([this] { return session->editor() != nullptr && !session->busy(); }));
    const QPoint offset = region.topLeft() - pageAt;
    EXPECT_EQ(pixels(session->editor()->source()),
              pixels(expected.image().copy(offset.x(), offset.y(), region.width(),
                                           session->editor()->source().height())));
    ASSERT_TRUE(run("wtype -k Escape"));

    // A pin stays above the page when the page takes the focus, and moves
    // where a drag of its image ends.
    PinnedImages pinned(clipboard, platform->services().overlays);
    QImage magenta(200, 120, QImage::Format_RGB32);
    magenta.fill(Qt::magenta);
    pinned.show(magenta, 1);
    QWidget* pin = pinned.windows().front();
    QTest::qWait(300);
    const QPoint pinAt = pin->geometry().topLeft() + QPoint(100, 60);
    ASSERT_TRUE(run(QStringLiteral("swaymsg [app_id=vellumix-scroll-page] move absolute position "
                                   "%1 %2")
                        .arg(pinAt.x() - 250)
                        .arg(pinAt.y() - 400)));
    ASSERT_TRUE(run("swaymsg [app_id=vellumix-scroll-page] focus"));
    const auto pinShowsAt = [&](QPoint at) {
        return QTest::qWaitFor([&] {
            return grim({"-g", QStringLiteral("%1,%2 1x1").arg(at.x()).arg(at.y())}, "pin.png") &&
                   file("pin.png").pixelColor(0, 0) == QColor(Qt::magenta);
        });
    };
    EXPECT_TRUE(pinShowsAt(pinAt));
    ASSERT_TRUE(drag(pinAt, pinAt + QPoint(200, 100)));
    ASSERT_TRUE(pointerAt(QPoint(1500, 100))); // the cursor off the pixel looked at
    ASSERT_TRUE(grim({}, "pinned.png"));
    EXPECT_TRUE(pinShowsAt(pinAt + QPoint(200, 100)));
    // Without a title bar from the desktop, the pin has its own close button.
    const auto* close = pin->findChild<QToolButton*>();
    ASSERT_NE(close, nullptr);
    ASSERT_TRUE(click(close->mapToGlobal(close->rect().center())));
    EXPECT_TRUE(QTest::qWaitFor([&] { return pinned.windows().isEmpty(); }));
}

} // namespace
} // namespace vellumix
