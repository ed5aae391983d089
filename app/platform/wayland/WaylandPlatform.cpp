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

#include <vector>

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
    explicit HiddenWindowsWatch(std::initializer_list<WaylandScreenSource*> screens)
        : m_screens(screens) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide && watched->isWindowType()) {
            for (WaylandScreenSource* screen : m_screens) {
                screen->ownWindowHidden();
            }
        }
        return false;
    }

private:
    const std::vector<WaylandScreenSource*> m_screens;
};

// Nothing of the app's own ever lies over a region on Wayland today, so
// nothing needs withdrawing before a grab.
class WaylandPlatform final : public Platform {
public:
    PlatformServices services() override {
        return PlatformServices{
            m_displays,     m_screen, m_windows,   m_screen, m_hotKeys,
            m_systemEvents, m_none,   *m_overlays, nullptr,  &m_screenWithPointer};
    }

private:
    QtDisplaySource m_displays;
    SettingsDefaults m_preferences{QStringLiteral("Vellumix"), QStringLiteral("Vellumix")};
    const bool m_castsOffered = screenCastOffered(QDBusConnection::sessionBus());
    WaylandScreenSource m_screen{m_preferences, QDBusConnection::sessionBus(), m_castsOffered};
    // Recordings that show the pointer read casts of their own, which the
    // desktop draws it into: it tells no one else where it is.
    // Each source writes its tokens from its grabbing threads: one store each.
    SettingsDefaults m_pointerPreferences{QStringLiteral("Vellumix"), QStringLiteral("Vellumix")};
    WaylandScreenSource m_screenWithPointer{m_pointerPreferences, QDBusConnection::sessionBus(),
                                            m_castsOffered, CastPointer::embedded};
    HiddenWindowsWatch m_hiddenWindows{&m_screen, &m_screenWithPointer};
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
