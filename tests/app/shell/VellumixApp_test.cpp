#include "shell/VellumixApp.h"

#include "editor/EditorDocument.h"
#include "fakes/FakeSessionServices.h"
#include "fakes/WidgetTestApp.h"
#include "session/CaptureSession.h"
#include "shell/EditorWindow.h"
#include "shell/GlobalCaptureShortcut.h"
#include "shell/ImageOpening.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>

namespace vellumix {
namespace {

QByteArray png(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes); // opened by the writer
    EXPECT_TRUE(image.save(&buffer, "PNG"));
    return bytes;
}

class VellumixAppTest : public ::testing::Test, public FakeSessionServices {
public:
    QString file(const QString& name, const QByteArray& bytes) {
        const QString path = folder.filePath(name);
        QFile out(path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
        return path;
    }
    // The informative text of the last alert: the failure a user read.
    QString lastFailure() const {
        return dialogs.asked.isEmpty() ? QString() : dialogs.asked.last().initial;
    }
    // A menu bar item by its title; a missing one fails the test.
    MenuRow menuItem(const char* title) {
        for (const MenuDefinition& menu : app.menuTables().menuBar) {
            for (const MenuRow& row : menu.rows) {
                if (row.title == QString::fromUtf8(title)) {
                    return row;
                }
            }
        }
        throw std::invalid_argument(title);
    }
    void drawOnDocument() {
        session.editor()->commit(
            ImageMark(DrawingTool::rectangle, {{1, 1}, {9, 9}}, Qt::red, 3, QString()));
    }

    QTemporaryDir folder;
    CaptureSession session{sessionServices()};
    GlobalCaptureShortcut shortcut{platform.hotKeys, defaults};
    VellumixApp app{{session, shortcut, dialogs, clipboard,
                     [this](EditorDocument&, EditorActions actions) {
                         windowActions = std::move(actions);
                         return new QWidget;
                     },
                     false}};
    EditorActions windowActions;
};

TEST_F(VellumixAppTest, openingFilesReportsEachRefusalAndOpensOneImageByItsContent) {
    const QString pngNamedJpg = file(QStringLiteral("shot.jpg"), png(QSize(40, 30)));
    const std::pair<QStringList, QString> cases[] = {
        {{pngNamedJpg, pngNamedJpg}, VellumixApp::oneImageMessage},
        {{}, VellumixApp::oneImageMessage},
        {{folder.filePath(QStringLiteral("missing.png"))}, imageopening::unreadableMessage},
    };
    for (const auto& [files, failure] : cases) {
        app.openFiles(files);
        EXPECT_EQ(lastFailure(), failure) << files.join(' ').toStdString();
        EXPECT_EQ(session.editor(), nullptr);
    }

    session.setBusy(true);
    app.openFiles({pngNamedJpg});
    EXPECT_EQ(lastFailure(), VellumixApp::busyMessage);
    session.setBusy(false);

    app.openFiles({pngNamedJpg});
    ASSERT_NE(session.editor(), nullptr);
    // Opened as saved work whose edits are asked about, never to be extended.
    const EditorDocument& opened = *session.editor();
    EXPECT_EQ(std::tuple(opened.source().size(), opened.unsavedChanges(),
                         opened.confirmBeforeDiscard(), session.canExtend()),
              std::tuple(QSize(40, 30), false, true, false));
    ASSERT_NE(app.editorWindow(), nullptr);
    EXPECT_TRUE(app.editorWindow()->isVisible());
}

TEST_F(VellumixAppTest, clipboardImageOpensAsUnsavedWorkAndReplacingEditsAsksFirst) {
    app.openFromClipboard();
    EXPECT_EQ(lastFailure(), VellumixApp::noClipboardImageMessage);

    clipboard.setPng(png(QSize(30001, 10)));
    app.openFromClipboard();
    EXPECT_EQ(lastFailure(), imageopening::tooLargeMessage);
    EXPECT_EQ(session.editor(), nullptr);

    clipboard.setPng(png(QSize(64, 48)));
    app.openFromClipboard();
    ASSERT_NE(session.editor(), nullptr);
    EXPECT_TRUE(session.editor()->unsavedChanges());
    EditorDocument* first = session.editor();
    drawOnDocument();

    // Paste over marked work asks; Cancel keeps the document.
    const qsizetype asked = dialogs.asked.size();
    dialogs.alertAnswers = {2};
    app.openFromClipboard();
    ASSERT_EQ(dialogs.asked.size(), asked + 1);
    EXPECT_EQ(dialogs.asked.last().title, CaptureSession::Texts::saveQuestion);
    EXPECT_EQ(session.editor(), first);

    // Discard replaces it.
    dialogs.alertAnswers = {1};
    app.openFromClipboard();
    EXPECT_NE(session.editor(), first);
}

TEST_F(VellumixAppTest, menuItemsFollowTheSessionTheEditorAndTheClipboardAndAboutAsksTheDialogs) {
    const MenuState runningWithImage{.running = true, .hasEditor = true, .clipboardHasImage = true};
    const std::tuple<const char*, MenuState, bool> cases[] = {
        {"Quit Vellumix", {}, true},
        {"Quit Vellumix", {.running = true}, false},
        {"Capture", {.busy = true}, false},
        {"Open Image…", {.running = true}, false},
        {"Open Image…", {}, true},
        {"Open from Clipboard", {}, false},
        {"Open from Clipboard", {.clipboardHasImage = true}, true},
        {"Paste", runningWithImage, false},
        {"Save Image…", {}, false},
        {"Save Image…", {.hasEditor = true}, true},
        {"Save Image…", runningWithImage, false},
        {"Undo", {.running = true}, true},
        {"About Vellumix", {.busy = true}, true},
    };
    for (const auto& [title, state, enabled] : cases) {
        EXPECT_EQ(menuItem(title).enabled(state), enabled) << title;
    }
    // About is asked through the dialogs, with the version.
    menuItem("About Vellumix").run();
    EXPECT_EQ(dialogs.asked.value(0).kind, "about");
    EXPECT_TRUE(dialogs.asked.value(0).initial.contains(QString::fromLatin1(VellumixApp::version)));
    // The tray's capture item names the hot key, or why there is none.
    EXPECT_EQ(menutable::captureTitle(QStringLiteral("⌘⇧"), QStringLiteral("X"), {}),
              QStringLiteral("Capture    Ctrl+Shift+X"));
    EXPECT_EQ(menutable::captureTitle(QStringLiteral("⌘⇧"), QStringLiteral("X"),
                                      QStringLiteral("⌘⇧X is unavailable (10).")),
              QStringLiteral("Capture    Shortcut unavailable"));
}

// Closing the window and the editor's own Cancel (or Escape) alike.
TEST_F(VellumixAppTest, leavingTheWindowWithUnsavedEditsAsksAndCancelKeepsItOpen) {
    const std::function<void()> waysOut[] = {
        [this] { app.editorWindow()->close(); },
        [this] { windowActions.finish(); },
    };
    for (const auto& leave : waysOut) {
        app.openFiles({file(QStringLiteral("a.png"), png(QSize(20, 20)))});
        drawOnDocument();
        EditorWindow* window = app.editorWindow();
        dialogs.alertAnswers = {2};
        leave();
        EXPECT_TRUE(window->isVisible());
        EXPECT_NE(session.editor(), nullptr);

        dialogs.alertAnswers = {1};
        leave();
        EXPECT_FALSE(window->isVisible());
        EXPECT_EQ(session.editor(), nullptr);
    }
}

// What users bind in the desktop's keyboard settings: a capture at start
// comes without the window, which would cover the screen being frozen. The
// capture shows as the session asking for access (the fake grants none).
TEST_F(VellumixAppTest, aCaptureAskedAtStartOrByAnotherStartBeginsOnceTheLoopRuns) {
    platform.permission.granted = false;
    const PermissionGuide& guide = session.permissionGuide();
    app.launch({true, {}});
    EXPECT_FALSE(guide.isWaiting()) << "not inside the start itself";
    QCoreApplication::processEvents();
    EXPECT_TRUE(guide.isWaiting());
    EXPECT_EQ(app.editorWindow(), nullptr);

    session.permissionGuide().cancel();
    app.handle({false, {}});
    EXPECT_FALSE(guide.isWaiting()) << "a plain start only brings the app forward";
    app.handle({true, {}});
    EXPECT_TRUE(guide.isWaiting());
    session.permissionGuide().cancel();
}

} // namespace
} // namespace vellumix
