// From the user's key to the frozen overlay, timed with the real session and
// platform of the running display: each run either starts
// `Vellumix --capture` (what a desktop's own key binding runs), which hands
// the capture to this process through the one-instance channel, or presses
// the X11 hot key with xdotool. A run ends when every display's overlay is
// shown and exposed; Escape then closes it. One untimed run first lets a
// Wayland desktop set up its screen cast. Runs are PAUSE ms apart, as a
// person's captures are: on Wayland a capture right after the last waits for
// the screen cast to drop the last overlay.
//   bench_capture_command command|hotkey [RUNS, default 10] [PAUSE, default 1500]
//   (bench/shell/capture-command.sh gives the display server)

#include "SessionHelpers.h"
#include "platform/Platform.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtDialogs.h"
#include "prefs/SettingsDefaults.h"
#include "selection/SelectionView.h"
#include "session/CaptureSession.h"
#include "session/InPlaceEditing.h"
#include "shell/GlobalCaptureShortcut.h"
#include "shell/SingleInstance.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QWindow>

#include <algorithm>
#include <cstdio>

namespace vellumix {
namespace {

class NoInPlace final : public InPlaceEditing {
public:
    bool show(EditorDocument&, const CaptureRegion&, const QImage&, Actions) override {
        return true;
    }
    void close() override {}
    bool isOpen() const override { return false; }
    void showColorCopied(const QString&) override {}
};

using bench::NoPins;
using bench::waitFor;

bool overlayShown(CaptureSession& session, qsizetype displays) {
    const QList<SelectionView*> views = session.selector().views();
    return views.size() == displays && std::all_of(views.begin(), views.end(), [](QWidget* view) {
               const QWindow* window = view->window()->windowHandle();
               return view->isVisible() && window != nullptr && window->isExposed();
           });
}

void escape(CaptureSession& session) {
    for (SelectionView* view : session.selector().views()) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(view, &press);
        break;
    }
}

// Starts the capture the way the user would; false when the trigger failed.
bool trigger(bool command, QProcess& launch) {
    if (command) {
        launch.start(QStringLiteral(VELLUMIX_APP), {QStringLiteral("--capture")});
    } else {
        launch.start(QStringLiteral("xdotool"),
                     {QStringLiteral("key"), QStringLiteral("ctrl+shift+x")});
    }
    return launch.waitForStarted();
}

// One run: milliseconds from the trigger to the overlay, or -1.
double run(CaptureSession& session, bool command, qsizetype displays) {
    QProcess launch;
    QElapsedTimer clock;
    clock.start();
    if (!trigger(command, launch) || !waitFor([&] { return overlayShown(session, displays); })) {
        return -1;
    }
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    waitFor([&] { return launch.state() == QProcess::NotRunning; });
    escape(session);
    waitFor([&] { return !session.busy(); });
    return ms;
}

int measure(bool command, int runs, int pause) {
    QTemporaryDir folder;
    // The launched program finds this instance through the runtime folder.
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder.path()));
    SingleInstance instance;
    if (!instance.claim()) {
        std::fprintf(stderr, "bench_capture_command: %s\n", qPrintable(instance.error()));
        return 1;
    }
    std::unique_ptr<Platform> platform = Platform::create();
    const PlatformServices services = platform->services();
    SettingsDefaults defaults(folder.filePath(QStringLiteral("defaults.ini")));
    QtDialogs dialogs;
    QtClipboard clipboard;
    NoPins pins;
    NoInPlace inPlace;
    SteadyClock steady;
    CaptureSession session(
        {services, EditorServices{defaults, dialogs, clipboard, pins}, inPlace, steady});
    GlobalCaptureShortcut shortcut(services.hotKeys, defaults);
    shortcut.start([&] { session.start(true); });
    QObject::connect(&instance, &SingleInstance::requestReceived, &shortcut,
                     [&](const LaunchRequest& request) {
                         if (request.capture) {
                             shortcut.activate();
                         }
                     });
    const qsizetype displays = services.displays.displays().size();
    std::vector<double> times;
    for (int i = 0; i <= runs; ++i) {
        const double ms = run(session, command, displays);
        if (ms < 0) {
            std::fprintf(stderr, "bench_capture_command: no overlay (%s; %lld views)\n",
                         qPrintable(session.status()),
                         qlonglong(session.selector().views().size()));
            return 1;
        }
        waitFor([] { return false; }, pause);
        if (i == 0) {
            std::printf("first run %.1f ms (untimed)\n", ms);
        } else {
            times.push_back(ms);
        }
    }
    std::sort(times.begin(), times.end());
    std::printf("%s to the frozen overlay on %lld displays, %d ms apart, median of %d: %.1f ms "
                "(min %.1f, max %.1f)\n",
                command ? "Vellumix --capture" : "hot key", qlonglong(displays), pause, runs,
                times[times.size() / 2], times.front(), times.back());
    return 0;
}

} // namespace
} // namespace vellumix

int main(int argc, char** argv) {
    vellumix::Platform::chooseQtPlatform();
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const QString mode = arguments.value(1);
    if (mode != QLatin1String("command") && mode != QLatin1String("hotkey")) {
        std::fprintf(stderr, "usage: bench_capture_command command|hotkey [RUNS] [PAUSE]\n");
        return 2;
    }
    return vellumix::measure(mode == QLatin1String("command"),
                             std::max(1, arguments.value(2, QStringLiteral("10")).toInt()),
                             std::max(0, arguments.value(3, QStringLiteral("1500")).toInt()));
}
