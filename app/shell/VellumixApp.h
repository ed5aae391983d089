#pragma once

#include "editor/EditorActions.h"
#include "shell/AppMenus.h"
#include "shell/EditorWindow.h"
#include "shell/LaunchRequest.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>

class QImage;
class QSystemTrayIcon;
class QWidget;

namespace vellumix {

class Clipboard;
class Dialogs;
class EditorDocument;
class GlobalCaptureShortcut;
class CaptureSession;

// The application: menus and the tray icon, opening images from files, the
// Open panel and the clipboard, the reusable editor window, and the answers
// to reopen, close and quit. It drives the capture session and owns nothing
// else that outlives a capture.
class VellumixApp final : public QObject {
    Q_OBJECT
public:
    struct Parts {
        CaptureSession& session;
        GlobalCaptureShortcut& shortcut;
        Dialogs& dialogs;
        Clipboard& clipboard;
        // The editor content for a document (toolbar and canvas) with the
        // window's actions; the window owns what it returns.
        std::function<QWidget*(EditorDocument&, EditorActions)> editorContent;
        bool trayAvailable;
    };

    static constexpr const char* version = VELLUMIX_VERSION;
    static const QString aboutCredits;
    static const QString busyMessage, oneImageMessage, noClipboardImageMessage;

    explicit VellumixApp(Parts parts, QObject* parent = nullptr);
    ~VellumixApp() override;

    // Installs the menus and the tray icon (or, without a tray, shows the
    // editor window so the app is never without a way in), starts the hot
    // key and does what the command line asked.
    void launch(const LaunchRequest& request);
    // What another start of the program asked for.
    void handle(const LaunchRequest& request);

    // Every menu item with its rule and its action.
    MenuTables menuTables();
    MenuState menuState() const;

    void openFiles(const QStringList& files);
    void openFromClipboard();
    void openImage();
    void importImage(const QImage& image, bool requiresSave);
    void showEditor();
    // Another launch asked for the app without files.
    void reopen();
    // The quit question: false while a capture runs or the user cancels.
    bool mayQuit();

    EditorWindow* editorWindow() const { return m_window; }
    AppMenus& menus() { return *m_menus; }

private:
    QList<MenuRow> editRows(const MenuRow& paste);
    void quit();
    void about();
    void closeEditor();
    EditorActions windowActions();
    bool editorWindowShouldClose();
    void documentChanged();
    EditorWindow* window();

    Parts m_parts;
    std::unique_ptr<AppMenus> m_menus;
    QPointer<EditorWindow> m_window;
    QPointer<EditorDocument> m_shown;
    std::unique_ptr<QSystemTrayIcon> m_tray;
    bool m_started = false;
};

} // namespace vellumix
