#include "platform/wayland/LayerShellOverlays.h"

#include "platform/qt/QtDisplaySource.h"

#include "qwayland-wlr-layer-shell-unstable-v1.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <qpa/qplatformnativeinterface.h>
#include <wayland-client-protocol.h>

namespace vellumix {

class LayerShell final : public QtWayland::zwlr_layer_shell_v1 {
public:
    using zwlr_layer_shell_v1::zwlr_layer_shell_v1;
    // Its destroy request came with version 3; before, only this side forgets it.
    ~LayerShell() override {
        if (version() >= ZWLR_LAYER_SHELL_V1_DESTROY_SINCE_VERSION) {
            zwlr_layer_shell_v1_destroy(object());
        } else {
            wl_proxy_destroy(reinterpret_cast<wl_proxy*>(object()));
        }
    }
};

class LayerSurface final : public QtWayland::zwlr_layer_surface_v1 {
public:
    explicit LayerSurface(::zwlr_layer_surface_v1* surface) : zwlr_layer_surface_v1(surface) {}
    ~LayerSurface() override { destroy(); }
    bool configured = false;

protected:
    void zwlr_layer_surface_v1_configure(uint32_t serial, uint32_t, uint32_t) override {
        ack_configure(serial);
        configured = true;
    }
};

namespace {

constexpr int layerShellVersion = 1;

void* nativeResource(const char* name, QWindow* window) {
    return QGuiApplication::platformNativeInterface()->nativeResourceForWindow(name, window);
}

struct Found {
    wl_registry* registry = nullptr;
    uint32_t name = 0;
};

void announced(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    if (qstrcmp(interface, ::zwlr_layer_shell_v1_interface.name) == 0) {
        *static_cast<Found*>(data) = Found{registry, name};
    }
}

const wl_registry_listener registryListener = {announced, [](void*, wl_registry*, uint32_t) {
                                               }};

} // namespace

std::unique_ptr<LayerShellOverlays> LayerShellOverlays::create() {
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    auto* display =
        native != nullptr
            ? static_cast<wl_display*>(native->nativeResourceForIntegration("wl_display"))
            : nullptr;
    if (display == nullptr) {
        return nullptr;
    }
    wl_event_queue* queue = wl_display_create_queue(display);
    // A wrapper puts the registry, and all bound from it, on the private queue.
    auto* wrapper = static_cast<wl_display*>(wl_proxy_create_wrapper(display));
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(wrapper), queue);
    wl_registry* registry = wl_display_get_registry(wrapper);
    wl_proxy_wrapper_destroy(wrapper);
    Found found;
    wl_registry_add_listener(registry, &registryListener, &found);
    wl_display_roundtrip_queue(display, queue);
    std::unique_ptr<LayerShell> shell;
    if (found.registry != nullptr) {
        shell = std::make_unique<LayerShell>(registry, found.name, layerShellVersion);
    }
    wl_registry_destroy(registry);
    if (!shell) {
        wl_event_queue_destroy(queue);
        return nullptr;
    }
    qputenv("QT_WAYLAND_USE_BYPASSWINDOWMANAGERHINT", "1");
    return std::unique_ptr<LayerShellOverlays>(
        new LayerShellOverlays(display, queue, std::move(shell)));
}

LayerShellOverlays::LayerShellOverlays(wl_display* display, wl_event_queue* queue,
                                       std::unique_ptr<LayerShell> shell)
    : m_display(display), m_queue(queue), m_shell(std::move(shell)) {}

LayerShellOverlays::~LayerShellOverlays() {
    while (!m_roles.empty()) {
        dropRole(m_roles.begin()->first);
    }
    m_shell.reset();
    wl_event_queue_destroy(m_queue);
}

void LayerShellOverlays::show(QWidget* window, const DisplayInfo& display) {
    QScreen* screen = QtDisplaySource::screenOf(display.id);
    window->setWindowFlag(Qt::BypassWindowManagerHint);
    if (screen != nullptr) {
        window->setScreen(screen);
        window->setGeometry(screen->geometry());
    }
    if (window->isVisible() && m_roles.contains(window)) {
        return;
    }
    // A role kept from before the window was hidden elsewhere went with its surface.
    dropRole(window);
    window->show();
    giveLayerRole(window, display);
}

void LayerShellOverlays::giveLayerRole(QWidget* window, const DisplayInfo& display) {
    auto* surface = static_cast<wl_surface*>(nativeResource("surface", window->windowHandle()));
    QScreen* screen = QtDisplaySource::screenOf(display.id);
    auto* output = screen != nullptr
                       ? static_cast<wl_output*>(
                             QGuiApplication::platformNativeInterface()->nativeResourceForScreen(
                                 "output", screen))
                       : nullptr;
    if (surface == nullptr) {
        return;
    }
    auto* layer = new LayerSurface(
        m_shell->get_layer_surface(surface, output, QtWayland::zwlr_layer_shell_v1::layer_overlay,
                                   QString::fromLatin1(surfaceNamespace)));
    using Surface = QtWayland::zwlr_layer_surface_v1;
    layer->set_anchor(Surface::anchor_top | Surface::anchor_bottom | Surface::anchor_left |
                      Surface::anchor_right);
    // Over the exclusive zones of panels and docks, not beside them.
    layer->set_exclusive_zone(-1);
    layer->set_keyboard_interactivity(Surface::keyboard_interactivity_exclusive);
    wl_surface_commit(surface);
    // The compositor answers the commit before the roundtrip's end.
    wl_display_roundtrip_queue(m_display, m_queue);
    if (!layer->configured) {
        // Drawing into an unconfigured layer surface is a protocol error,
        // which would end the connection and the app with it.
        delete layer;
        window->hide();
        return;
    }
    // Later configures (an output's new size) reach it through Qt's dispatch.
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(layer->object()), nullptr);
    m_roles.emplace(window, Role{std::unique_ptr<LayerSurface>(layer),
                                 QObject::connect(window, &QObject::destroyed,
                                                  [this](QObject* gone) { dropRole(gone); })});
}

void LayerShellOverlays::dropRole(QObject* window) {
    if (auto role = m_roles.find(window); role != m_roles.end()) {
        QObject::disconnect(role->second.windowGone);
        m_roles.erase(role);
    }
}

void LayerShellOverlays::hide(QWidget* window) {
    // The role goes before the surface Qt destroys on hiding.
    dropRole(window);
    window->hide();
}

} // namespace vellumix
