#include "platform/wayland/WaylandPlatform.h"

#include "platform/NoScreenAccess.h"
#include "platform/dbus/LogindSystemEvents.h"
#include "platform/qt/PlacedOverlays.h"
#include "platform/qt/QtDisplaySource.h"
#include "platform/wayland/LayerShellOverlays.h"
#include "platform/wayland/PortalHotKeyService.h"
#include "platform/wayland/WaylandScreenSource.h"
#include "platform/wayland/WaylandWindowSource.h"
#include "prefs/SettingsDefaults.h"

#include <QCoreApplication>
#include <QEvent>

namespace vellumix {

namespace {

// Layer-shell surfaces where the compositor offers them, else full-screen
// windows, which a desktop without it (GNOME) keeps above its panels.
std::unique_ptr<OverlaySurfaces> overlaySurfaces() {
    if (std::unique_ptr<OverlaySurfaces> layers = LayerShellOverlays::create()) {
        return layers;
    }
    return std::make_unique<FullScreenOverlays>();
}

// Tells the screen when one of the app's windows goes, whichever it is.
class HiddenWindowsWatch final : public QObject {
public:
    explicit HiddenWindowsWatch(WaylandScreenSource& screen) : m_screen(screen) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide && watched->isWindowType()) {
            m_screen.ownWindowHidden();
        }
        return false;
    }

private:
    WaylandScreenSource& m_screen;
};

// Nothing of the app's own ever lies over a region on Wayland today, so
// nothing needs withdrawing before a grab.
class WaylandPlatform final : public Platform {
public:
    PlatformServices services() override {
        return PlatformServices{m_displays, m_screen,       m_windows, m_screen,
                                m_hotKeys,  m_systemEvents, m_none,    *m_overlays};
    }

private:
    QtDisplaySource m_displays;
    SettingsDefaults m_preferences{QStringLiteral("Vellumix"), QStringLiteral("Vellumix")};
    WaylandScreenSource m_screen{m_preferences, QDBusConnection::sessionBus()};
    HiddenWindowsWatch m_hiddenWindows{m_screen};
    WaylandWindowSource m_windows{qEnvironmentVariable("SWAYSOCK"), m_displays, m_screen};
    NoScreenAccess m_none;
    PortalHotKeyService m_hotKeys{QDBusConnection::sessionBus()};
    std::unique_ptr<OverlaySurfaces> m_overlays = overlaySurfaces();
    LogindSystemEvents m_systemEvents{QDBusConnection::systemBus(),
                                      quint32(QCoreApplication::applicationPid())};
};

} // namespace

bool isWaylandSession() {
    return qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland") &&
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

std::unique_ptr<Platform> createWaylandPlatform() {
    return std::make_unique<WaylandPlatform>();
}

} // namespace vellumix
