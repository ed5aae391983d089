#include "platform/Platform.h"

#include "platform/NoHotKeys.h"
#include "platform/NoScreenAccess.h"
#include "platform/dbus/LogindSystemEvents.h"
#include "platform/qt/PlacedOverlays.h"
#include "platform/qt/QtDisplaySource.h"
#include "platform/wayland/WaylandPlatform.h"
#include "platform/x11/X11Platform.h"

#include <QGuiApplication>

namespace vellumix {

namespace {

class LimitedPlatform final : public Platform {
public:
    PlatformServices services() override {
        return PlatformServices{m_displays, m_none,         m_none, m_none,
                                m_hotKeys,  m_systemEvents, m_none, m_overlays};
    }

private:
    QtDisplaySource m_displays;
    PlacedOverlays m_overlays;
    NoScreenAccess m_none;
    NoHotKeys m_hotKeys;
    LogindSystemEvents m_systemEvents{QDBusConnection::systemBus(),
                                      quint32(QCoreApplication::applicationPid())};
};

} // namespace

void Platform::chooseQtPlatform() {
    if (isWaylandSession() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "wayland");
    }
}

std::unique_ptr<Platform> Platform::create() {
    if (QGuiApplication::platformName() == QLatin1String("wayland")) {
        return createWaylandPlatform();
    }
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        if (std::unique_ptr<Platform> x11 = createX11Platform()) {
            return x11;
        }
    }
    return std::make_unique<LimitedPlatform>();
}

} // namespace vellumix
