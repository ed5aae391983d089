// Vellumix: the tray app that captures, annotates, stitches and pins
// screenshots, and serves the automation folder for agents.

#include "automation/AgentBridge.h"
#include "editor/RecognitionThreads.h"
#include "editor/ScreenshotEditor.h"
#include "pins/PinnedImages.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtDialogs.h"
#include "prefs/PreferenceMigration.h"
#include "prefs/SettingsDefaults.h"
#include "session/CaptureSession.h"
#include "session/QtInPlaceEditing.h"
#include "shell/AppIcon.h"
#include "shell/GlobalCaptureShortcut.h"
#include "shell/SingleInstance.h"
#include "shell/VellumixApp.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QSystemTrayIcon>

#include <cstdio>

using namespace vellumix;

namespace {

QStringList absoluteFiles(const QStringList& arguments) {
    QStringList files;
    for (const QString& argument : arguments.mid(1)) {
        files.append(QDir::current().absoluteFilePath(argument));
    }
    return files;
}

// The names the desktop knows the app by; it lives on in the tray or the
// background when its last window closes.
void describeApplication() {
    QApplication::setApplicationName(QStringLiteral("Vellumix"));
    QApplication::setOrganizationName(QStringLiteral("Vellumix"));
    QApplication::setApplicationVersion(QStringLiteral(VELLUMIX_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("org.vellumix.Vellumix"));
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("org.vellumix.Vellumix"), appIcon()));
    QApplication::setQuitOnLastWindowClosed(false);
}

} // namespace

int main(int argc, char** argv) {
    RecognitionThreads::limitBeforeStart(argv);
    Platform::chooseQtPlatform();
    QApplication app(argc, argv);
    describeApplication();

    const QStringList files = absoluteFiles(QApplication::arguments());
    SingleInstance instance;
    if (!instance.claim()) {
        if (instance.forward(files)) {
            return 0;
        }
        std::fprintf(stderr, "Vellumix: %s\n", qPrintable(instance.error()));
        return 1;
    }

    SettingsDefaults defaults(QStringLiteral("Vellumix"), QStringLiteral("Vellumix"));
    PreferenceMigration::migrateFromLegacyDomain(defaults);

    std::unique_ptr<Platform> platform = Platform::create();
    const PlatformServices services = platform->services();
    QtDialogs dialogs;
    QtClipboard clipboard;
    PinnedImages pins(clipboard);
    SteadyClock steadyClock;
    SystemClock wallClock;
    const EditorServices editing{defaults, dialogs, clipboard, pins};
    QtInPlaceEditing inPlace(editing);
    CaptureSession session({services, editing, inPlace, steadyClock});
    GlobalCaptureShortcut shortcut(services.hotKeys, defaults);
    VellumixApp vellumix({session, shortcut, dialogs, clipboard,
                          [&](EditorDocument& document, EditorActions actions) -> QWidget* {
                              return new ScreenshotEditor(document, editing, std::move(actions));
                          },
                          QSystemTrayIcon::isSystemTrayAvailable()});
    AgentBridge bridge(services, pins, wallClock);
    QObject::connect(&instance, &SingleInstance::filesReceived, &vellumix, &VellumixApp::openFiles);
    QObject::connect(&instance, &SingleInstance::reopenRequested, &vellumix, &VellumixApp::reopen);
    vellumix.launch(files);
    return app.exec();
}
