#include "shell/VellumixApp.h"

#include "editor/EditorDocument.h"
#include "editor/EditorKeyMap.h"
#include "platform/Clipboard.h"
#include "platform/Dialogs.h"
#include "session/CaptureSession.h"
#include "shell/EditorWindow.h"
#include "shell/GlobalCaptureShortcut.h"
#include "shell/ImageOpening.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QSystemTrayIcon>
#include <QTextEdit>
#include <QTimer>

namespace vellumix {

const QString VellumixApp::aboutCredits = QStringLiteral(
    "Screenshots and annotations, made easy for you and your agent.\nhttps://vellumix.org");
const QString VellumixApp::busyMessage =
    QStringLiteral("Finish the current capture before opening an image.");
const QString VellumixApp::oneImageMessage = QStringLiteral("Please open one image at a time.");
const QString VellumixApp::noClipboardImageMessage =
    QStringLiteral("The clipboard does not contain an image.");

VellumixApp::VellumixApp(Parts parts, QObject* parent)
    : QObject(parent), m_parts(std::move(parts)) {
    m_menus = std::make_unique<AppMenus>(
        menuTables(), [this] { return menuState(); },
        [this] {
            const GlobalCaptureShortcut& shortcut = m_parts.shortcut;
            return menutable::captureTitle(shortcut.modifiers(), shortcut.key(), shortcut.error());
        });
    connect(&m_parts.session, &CaptureSession::changed, this, &VellumixApp::documentChanged);
}

VellumixApp::~VellumixApp() = default;

void VellumixApp::launch(const LaunchRequest& request) {
    m_parts.session.presentEditor = [this] {
        showEditor();
    };
    m_parts.shortcut.start([this] { m_parts.session.start(true); });
    if (m_parts.trayAvailable) {
        m_tray = std::make_unique<QSystemTrayIcon>(QApplication::windowIcon());
        m_tray->setToolTip(QStringLiteral("Vellumix"));
        m_tray->setContextMenu(m_menus->trayMenu());
        // A left click opens the same menu as a right click.
        connect(m_tray.get(), &QSystemTrayIcon::activated, this, [this](auto reason) {
            if (reason == QSystemTrayIcon::Trigger) {
                m_menus->trayMenu()->popup(QCursor::pos());
            }
        });
        m_tray->show();
    }
    m_started = true;
    if (!request.files.isEmpty()) {
        openFiles(request.files);
    }
    // The overlay is the way in a capture asks for; the window would only
    // cover the screen it freezes.
    if (!m_parts.trayAvailable && !request.capture) {
        window()->show();
        window()->activateWindow();
    }
    if (request.capture) {
        QTimer::singleShot(0, this, [this] { m_parts.shortcut.activate(); });
    }
}

void VellumixApp::handle(const LaunchRequest& request) {
    if (request.capture) {
        m_parts.shortcut.activate();
    } else if (!request.files.isEmpty()) {
        openFiles(request.files);
    } else {
        reopen();
    }
}

MenuState VellumixApp::menuState() const {
    const CaptureSession& session = m_parts.session;
    return MenuState{.busy = session.busy(),
                     .running = session.running(),
                     .hasEditor = session.editor() != nullptr,
                     .clipboardHasImage = !m_parts.clipboard.image().isNull()};
}

namespace {

MenuRow keyed(MenuRow row, const QKeySequence& keys) {
    row.keys = keys;
    return row;
}

QKeySequence editorKeys(EditorCommand command) {
    return QKeySequence(EditorKeyMap::chordOf(command).keys);
}

bool always(const MenuState&) {
    return true;
}

bool idle(const MenuState& state) {
    return state.idle();
}

template <typename Result>
std::function<void()> withDocument(CaptureSession& session, Result (EditorDocument::*operation)()) {
    return [&session, operation] {
        if (EditorDocument* document = session.editor()) {
            (document->*operation)();
        }
    };
}

} // namespace

MenuTables VellumixApp::menuTables() {
    CaptureSession& session = m_parts.session;
    const auto call = [this](void (VellumixApp::*method)()) {
        return [this, method] {
            (this->*method)();
        };
    };
    const MenuRow separator;
    const MenuRow about{QStringLiteral("About Vellumix"), {}, always, call(&VellumixApp::about)};
    const MenuRow shortcuts{QStringLiteral("Keyboard Shortcuts…"), {}, always, [this] {
                                m_parts.shortcut.showSettings();
                            }};
    const MenuRow quit{QStringLiteral("Quit Vellumix"), {}, idle, call(&VellumixApp::quit)};
    const MenuRow capture{QStringLiteral("Capture"), {}, idle, [&session] {
                              session.start(true);
                          }};
    const MenuRow record{QStringLiteral("Record Screen…"), {}, idle, [&session] {
                             session.startRecording();
                         }};
    const MenuRow openImage{QStringLiteral("Open Image…"), {}, idle, call(&VellumixApp::openImage)};
    const MenuRow fromClipboard{
        QStringLiteral("Open from Clipboard"),
        {},
        [](const MenuState& state) { return state.idle() && state.clipboardHasImage; },
        call(&VellumixApp::openFromClipboard)};
    const MenuRow save{QStringLiteral("Save Image…"), editorKeys(EditorCommand::save),
                       [](const MenuState& state) { return state.idle() && state.hasEditor; },
                       withDocument(session, &EditorDocument::save)};
    MenuRow paste = keyed(fromClipboard, QKeySequence(QStringLiteral("Ctrl+V")));
    paste.title = QStringLiteral("Paste");
    return {
        {{QStringLiteral("Vellumix"),
          {about, shortcuts, separator, keyed(quit, QKeySequence(QStringLiteral("Ctrl+Q")))}},
         {QStringLiteral("File"),
          {keyed(capture, QKeySequence(QStringLiteral("Ctrl+N"))),
           record,
           keyed(openImage, QKeySequence(QStringLiteral("Ctrl+O"))),
           fromClipboard,
           separator,
           save,
           {QStringLiteral("Close"), QKeySequence(QStringLiteral("Ctrl+W")), always,
            call(&VellumixApp::closeEditor)}}},
         {QStringLiteral("Edit"), editRows(paste)}},
        {capture, record, fromClipboard, openImage, separator, shortcuts, about, separator, quit}};
}

// Text fields (prompts, recognised text) take the editing commands
// themselves; the document gets them otherwise.
QList<MenuRow> VellumixApp::editRows(const MenuRow& paste) {
    CaptureSession& session = m_parts.session;
    const auto textCommand = [](const char* method, std::function<void()> otherwise) {
        return [method, otherwise] {
            QWidget* focus = QApplication::focusWidget();
            if (qobject_cast<QLineEdit*>(focus) || qobject_cast<QTextEdit*>(focus)) {
                QMetaObject::invokeMethod(focus, method);
            } else if (otherwise) {
                otherwise();
            }
        };
    };
    return {
        {QStringLiteral("Undo"), editorKeys(EditorCommand::undo), always,
         withDocument(session, &EditorDocument::undo)},
        {QStringLiteral("Redo"), editorKeys(EditorCommand::redo), always,
         withDocument(session, &EditorDocument::redo)},
        {QStringLiteral("Cut"), QKeySequence(QStringLiteral("Ctrl+X")), always,
         textCommand("cut", {})},
        {QStringLiteral("Copy"), editorKeys(EditorCommand::copy), always,
         textCommand("copy", withDocument(session, &EditorDocument::copy))},
        paste,
        {QStringLiteral("Select All"), QKeySequence(QStringLiteral("Ctrl+A")), always,
         textCommand("selectAll", {})},
    };
}

void VellumixApp::openFiles(const QStringList& files) {
    CaptureSession& session = m_parts.session;
    if (session.busy() || session.running()) {
        session.showFailure(busyMessage);
        return;
    }
    if (files.size() != 1) {
        session.showFailure(oneImageMessage);
        return;
    }
    const std::optional<QImage> image = imageopening::readFile(files.first());
    if (!image) {
        session.showFailure(imageopening::unreadableMessage);
        return;
    }
    importImage(*image, false);
}

void VellumixApp::openFromClipboard() {
    CaptureSession& session = m_parts.session;
    if (session.busy() || session.running()) {
        return;
    }
    const QImage image = m_parts.clipboard.image();
    if (image.isNull()) {
        session.showFailure(noClipboardImageMessage);
        return;
    }
    importImage(image, true);
}

void VellumixApp::openImage() {
    CaptureSession& session = m_parts.session;
    if (session.busy() || session.running() || QApplication::activeModalWidget()) {
        return;
    }
    session.setBusy(true);
    const std::optional<QString> file = m_parts.dialogs.openPanel(
        {QStringLiteral("png"), QStringLiteral("jpg"), QStringLiteral("jpeg")});
    session.setBusy(false);
    if (file) {
        openFiles({*file});
    }
}

void VellumixApp::importImage(const QImage& image, bool requiresSave) {
    CaptureSession& session = m_parts.session;
    if (!imageopening::withinLimits(image.size())) {
        session.showFailure(imageopening::tooLargeMessage);
        return;
    }
    if (!session.prepareToReplace()) {
        return;
    }
    session.discard();
    session.openImage(image, requiresSave);
    showEditor();
}

void VellumixApp::showEditor() {
    EditorDocument* document = m_parts.session.editor();
    if (!document) {
        return;
    }
    EditorWindow* editor = window();
    if (m_shown != document) {
        m_shown = document;
        editor->setContent(m_parts.editorContent(*document, windowActions()));
    }
    editor->show();
    editor->raise();
    editor->activateWindow();
}

void VellumixApp::reopen() {
    if (!m_started) {
        return;
    }
    if (m_window && m_window->isVisible()) {
        m_window->raise();
        m_window->activateWindow();
    } else if (m_parts.session.editor()) {
        showEditor();
    } else if (!m_parts.session.busy() && !m_parts.session.running()) {
        QTimer::singleShot(0, this, &VellumixApp::openImage);
    }
}

bool VellumixApp::mayQuit() {
    CaptureSession& session = m_parts.session;
    return !session.busy() && !session.running() && session.prepareToReplace();
}

void VellumixApp::quit() {
    if (mayQuit()) {
        QApplication::quit();
    }
}

void VellumixApp::about() {
    m_parts.dialogs.about(
        QStringLiteral("About Vellumix"),
        QStringLiteral("<b>Vellumix</b> %1<p>%2</p>")
            .arg(QString::fromLatin1(version),
                 aboutCredits.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>"))));
}

void VellumixApp::closeEditor() {
    CaptureSession& session = m_parts.session;
    if (session.prepareToReplace()) {
        session.finishEditing();
        if (m_window) {
            m_window->hide();
        }
    }
}

// Cancel and Escape in the window's editor leave it as Close does, asking
// before edits are lost.
EditorActions VellumixApp::windowActions() {
    CaptureSession& session = m_parts.session;
    return EditorActions{.canScroll = session.canExtend(),
                         .finish = [this] { closeEditor(); },
                         .expand = nullptr,
                         .scroll =
                             [&session] {
                                 session.extendSelection();
                             }};
}

bool VellumixApp::editorWindowShouldClose() {
    CaptureSession& session = m_parts.session;
    const bool ok = session.prepareToReplace();
    if (ok) {
        session.discard();
    }
    return ok;
}

void VellumixApp::documentChanged() {
    m_menus->refresh();
    if (m_shown && m_shown != m_parts.session.editor() && m_window) {
        // The document the window showed is gone (discarded or replaced).
        m_shown = nullptr;
        m_window->setContent(nullptr);
    }
}

EditorWindow* VellumixApp::window() {
    if (!m_window) {
        m_window = new EditorWindow([this] { return editorWindowShouldClose(); });
        m_window->setAttribute(Qt::WA_DeleteOnClose, false);
        m_menus->populate(m_window->menuBar());
        connect(this, &QObject::destroyed, m_window.data(), &QObject::deleteLater);
    }
    return m_window;
}

} // namespace vellumix
