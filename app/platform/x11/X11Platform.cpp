#include "platform/x11/X11Platform.h"

#include "platform/dbus/LogindSystemEvents.h"
#include "platform/qt/PlacedOverlays.h"
#include "platform/qt/QtDisplaySource.h"
#include "platform/x11/X11HotKeyService.h"
#include "platform/x11/X11Permission.h"
#include "platform/x11/X11PointerSource.h"
#include "platform/x11/X11ScreenSource.h"
#include "platform/x11/X11WindowSource.h"
#include "platform/x11/X11WindowWithdrawal.h"

#include <QCoreApplication>

namespace vellumix {

namespace {

// Screen grabs have a connection of their own, so that a large read on a
// worker thread never delays the window list or the permission check; so do
// the hot keys, whose events only their service reads, and the pointer,
// asked from the recordings' grab threads.
class X11Platform final : public Platform {
public:
    X11Platform(std::unique_ptr<X11Connection> grabs, std::unique_ptr<X11Connection> queries,
                std::unique_ptr<X11Connection> keys, std::unique_ptr<X11Connection> pointer)
        : m_screen(std::move(grabs)), m_permission(*queries), m_withdrawal(*queries),
          m_windows(std::move(queries), m_displays, m_screen), m_hotKeys(std::move(keys)),
          m_pointer(std::move(pointer)) {}

    PlatformServices services() override {
        return PlatformServices{m_displays,     m_screen,     m_windows,  m_permission, m_hotKeys,
                                m_systemEvents, m_withdrawal, m_overlays, &m_pointer};
    }

private:
    QtDisplaySource m_displays;
    PlacedOverlays m_overlays;
    X11ScreenSource m_screen;
    X11Permission m_permission;
    X11WindowWithdrawal m_withdrawal;
    X11WindowSource m_windows;
    X11HotKeyService m_hotKeys;
    X11PointerSource m_pointer;
    LogindSystemEvents m_systemEvents{QDBusConnection::systemBus(),
                                      quint32(QCoreApplication::applicationPid())};
};

} // namespace

std::unique_ptr<Platform> createX11Platform() {
    std::unique_ptr<X11Connection> grabs = X11Connection::open();
    std::unique_ptr<X11Connection> queries = X11Connection::open();
    std::unique_ptr<X11Connection> keys = X11Connection::open();
    std::unique_ptr<X11Connection> pointer = X11Connection::open();
    if (grabs == nullptr || queries == nullptr || keys == nullptr || pointer == nullptr) {
        return nullptr;
    }
    return std::make_unique<X11Platform>(std::move(grabs), std::move(queries), std::move(keys),
                                         std::move(pointer));
}

} // namespace vellumix
