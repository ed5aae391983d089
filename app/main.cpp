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
#include "session/ScreenRecordings.h"
#include "shell/AppIcon.h"
#include "shell/GlobalCaptureShortcut.h"
#include "shell/SingleInstance.h"
#include "shell/VellumixApp.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QStandardPaths>
#include <QSystemTrayIcon>

#include <cstdio>
#include <stdexcept>

using namespace vellumix;

namespace {

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

// A later start whose request the running instance takes ends here, before
// the restart that limits the recognition threads and before any connection
// to the window system: half the time from a desktop's key to the overlay.
bool handedOver(int argc, char** argv) {
    QCoreApplication core(argc, argv);
    try {
        return SingleInstance().handOver(
            LaunchRequest::fromArguments(QCoreApplication::arguments().mid(1), QDir::current()));
    } catch (const std::invalid_argument&) {
        return false; // the full start reports it
    }
}

} // namespace

int main(int argc, char** argv) {
    if (handedOver(argc, argv)) {
        return 0;
    }
    RecognitionThreads::limitBeforeStart(argv);
    Platform::chooseQtPlatform();
    QApplication app(argc, argv);
    describeApplication();

    LaunchRequest request;
    try {
        request = LaunchRequest::fromArguments(QApplication::arguments().mid(1), QDir::current());
    } catch (const std::invalid_argument& error) {
        std::fprintf(stderr, "Vellumix: %s\n", error.what());
        return 2;
    }
    SingleInstance instance;
    if (!instance.claim()) {
        if (instance.forward(request)) {
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
    PinnedImages pins(clipboard, services.overlays);
    SteadyClock steadyClock;
    SystemClock wallClock;
    const EditorServices editing{defaults, dialogs, clipboard, pins};
    QtInPlaceEditing inPlace(editing, services.overlays);
    CaptureSession session({services, editing, inPlace, steadyClock});
    // Recordings go where the save panel first offers screenshots.
    ScreenRecordings recordings(
        {services, defaults, dialogs, clipboard, steadyClock,
         QStandardPaths::writableLocation(QStandardPaths::PicturesLocation)});
    recordings.serve(session);
    GlobalCaptureShortcut shortcut(services.hotKeys, defaults);
    VellumixApp vellumix({session, shortcut, dialogs, clipboard,
                          [&](EditorDocument& document, EditorActions actions) -> QWidget* {
                              return new ScreenshotEditor(document, editing, std::move(actions));
                          },
                          QSystemTrayIcon::isSystemTrayAvailable()});
    AgentBridge bridge(services, pins, wallClock, steadyClock);
    QObject::connect(&instance, &SingleInstance::requestReceived, &vellumix, &VellumixApp::handle,
                     Qt::QueuedConnection);
    vellumix.launch(request);
    return app.exec();
}
