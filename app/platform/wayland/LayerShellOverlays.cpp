#include "platform/wayland/LayerShellOverlays.h"

#include "platform/qt/QtDisplaySource.h"

#include "qwayland-wlr-layer-shell-unstable-v1.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <qpa/qplatformnativeinterface.h>
#include <wayland-client-protocol.h>

#include <algorithm>
#include <dlfcn.h>

namespace vellumix {

namespace {

// Version 4 brought keyboard focus on demand, which floating surfaces and
// the in-place editor ask for.
constexpr uint32_t layerShellVersion = 4;
constexpr uint32_t onDemandSince = 4;

void* nativeResource(const char* name, QWindow* window) {
    return QGuiApplication::platformNativeInterface()->nativeResourceForWindow(name, window);
}

wl_surface* surfaceOf(QWidget* window) {
    return window->windowHandle() != nullptr
               ? static_cast<wl_surface*>(nativeResource("surface", window->windowHandle()))
               : nullptr;
}

wl_output* outputOf(QScreen* screen) {
    return screen != nullptr
               ? static_cast<wl_output*>(
                     QGuiApplication::platformNativeInterface()->nativeResourceForScreen("output",
                                                                                         screen))
               : nullptr;
}

// Qt sets a window's mask as the surface's input region only on a surface
// that exists, and forgets a mask set before; the first one is set here.
void applyInputMask(QWidget* window) {
    auto* compositor = static_cast<wl_compositor*>(
        QGuiApplication::platformNativeInterface()->nativeResourceForIntegration("compositor"));
    wl_surface* surface = surfaceOf(window);
    if (compositor == nullptr || surface == nullptr || window->mask().isEmpty()) {
        return;
    }
    wl_region* region = wl_compositor_create_region(compositor);
    for (const QRect& part : window->mask()) {
        wl_region_add(region, part.x(), part.y(), part.width(), part.height());
    }
    wl_surface_set_input_region(surface, region);
    wl_region_destroy(region);
    wl_surface_commit(surface);
}

// Qt moves every top-level window to its screen's corner, as a Wayland
// client cannot know where the compositor put it. A layer surface is where
// the app put it, so the positions the app gives stay; for ordinary windows
// neither is known. The switch is public in Qt's Wayland client library but
// declared in no installed header.
void keepWindowPositions() {
    // Loaded with Qt's Wayland plugin, whose symbols stay its own.
    void* library = dlopen("libQt6WaylandClient.so.6", RTLD_NOW | RTLD_NOLOAD);
    if (library == nullptr) {
        return;
    }
    if (auto* fixed = static_cast<bool*>(
            dlsym(library, "_ZN15QtWaylandClient14QWaylandWindow22fixedToplevelPositionsE"))) {
        *fixed = false;
    }
    dlclose(library);
}

struct Found {
    wl_registry* registry = nullptr;
    uint32_t name = 0;
    uint32_t version = 0;
};

void announced(void* data, wl_registry* registry, uint32_t name, const char* interface,
               uint32_t version) {
    if (qstrcmp(interface, ::zwlr_layer_shell_v1_interface.name) == 0) {
        *static_cast<Found*>(data) = Found{registry, name, version};
    }
}

const wl_registry_listener registryListener = {announced, [](void*, wl_registry*, uint32_t) {
                                               }};

} // namespace

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
    // `closed` runs when the compositor takes the surface away (its output
    // went), inside the Wayland dispatch.
    LayerSurface(::zwlr_layer_surface_v1* surface, std::function<void()> closed)
        : zwlr_layer_surface_v1(surface), m_closed(std::move(closed)) {}
    ~LayerSurface() override { destroy(); }
    bool configured = false;

protected:
    void zwlr_layer_surface_v1_configure(uint32_t serial, uint32_t, uint32_t) override {
        ack_configure(serial);
        configured = true;
    }
    void zwlr_layer_surface_v1_closed() override { m_closed(); }

private:
    std::function<void()> m_closed;
};

// Keeps a floating surface where Qt believes its window is: a layer surface
// goes where its margins say, not where its window was moved.
class FloatingPlacement final : public QObject {
public:
    FloatingPlacement(QWidget* window, LayerSurface& layer, QRect output)
        : m_window(window), m_layer(layer), m_output(output) {
        window->installEventFilter(this);
    }
    // Anchored at the output's top-left corner.
    static void place(LayerSurface& layer, QRect frame, QRect output) {
        layer.set_size(uint32_t(std::max(frame.width(), 1)), uint32_t(std::max(frame.height(), 1)));
        layer.set_margin(frame.top() - output.top(), 0, 0, frame.left() - output.left());
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Move || event->type() == QEvent::Resize) {
            place(m_layer, m_window->geometry(), m_output);
            if (wl_surface* surface = surfaceOf(m_window)) {
                wl_surface_commit(surface);
            }
        }
        return false;
    }

private:
    QWidget* m_window;
    LayerSurface& m_layer;
    QRect m_output;
};

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
        shell = std::make_unique<LayerShell>(registry, found.name,
                                             std::min(found.version, layerShellVersion));
    }
    wl_registry_destroy(registry);
    if (!shell) {
        wl_event_queue_destroy(queue);
        return nullptr;
    }
    qputenv("QT_WAYLAND_USE_BYPASSWINDOWMANAGERHINT", "1");
    keepWindowPositions();
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

void LayerShellOverlays::show(QWidget* window, const DisplayInfo& display, OverlayInput input) {
    QScreen* screen = QtDisplaySource::screenOf(display.id);
    if (screen != nullptr) {
        window->setScreen(screen);
        window->setGeometry(screen->geometry());
    }
    using Surface = QtWayland::zwlr_layer_surface_v1;
    const bool onDemand = input == OverlayInput::masked && m_shell->version() >= onDemandSince;
    const Role* role = showWithRole(window, screen, [onDemand](LayerSurface& layer) {
        layer.set_anchor(Surface::anchor_top | Surface::anchor_bottom | Surface::anchor_left |
                         Surface::anchor_right);
        // Over the exclusive zones of panels and docks, not beside them.
        layer.set_exclusive_zone(-1);
        layer.set_keyboard_interactivity(onDemand ? Surface::keyboard_interactivity_on_demand
                                                  : Surface::keyboard_interactivity_exclusive);
    });
    if (role != nullptr && input == OverlayInput::masked) {
        applyInputMask(window);
    }
}

void LayerShellOverlays::showFloating(QWidget* window) {
    QScreen* screen = QGuiApplication::screenAt(window->geometry().center());
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    using Surface = QtWayland::zwlr_layer_surface_v1;
    const bool focusable = !window->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus) &&
                           m_shell->version() >= onDemandSince;
    const QRect output = screen != nullptr ? screen->geometry() : QRect();
    Role* role = showWithRole(window, screen, [&](LayerSurface& layer) {
        layer.set_anchor(Surface::anchor_top | Surface::anchor_left);
        layer.set_keyboard_interactivity(focusable ? Surface::keyboard_interactivity_on_demand
                                                   : Surface::keyboard_interactivity_none);
        FloatingPlacement::place(layer, window->geometry(), output);
    });
    if (role != nullptr) {
        role->placement = std::make_unique<FloatingPlacement>(window, *role->surface, output);
    }
}

LayerShellOverlays::Role*
LayerShellOverlays::showWithRole(QWidget* window, QScreen* screen,
                                 const std::function<void(LayerSurface&)>& configure) {
    if (!window->windowFlags().testFlag(Qt::BypassWindowManagerHint)) {
        // New flags make a new native window, placed anew.
        const QRect frame = window->geometry();
        window->setWindowFlag(Qt::BypassWindowManagerHint);
        window->setGeometry(frame);
    }
    if (window->isVisible() && m_roles.contains(window)) {
        return nullptr;
    }
    // A role kept from before the window was hidden elsewhere went with its surface.
    dropRole(window);
    window->show();
    wl_surface* surface = surfaceOf(window);
    if (surface == nullptr) {
        return nullptr;
    }
    auto layer = std::make_unique<LayerSurface>(
        m_shell->get_layer_surface(surface, outputOf(screen),
                                   QtWayland::zwlr_layer_shell_v1::layer_overlay,
                                   QString::fromLatin1(surfaceNamespace)),
        // The window goes too, outside the dispatch.
        [this, window] {
            QMetaObject::invokeMethod(
                window, [this, window] { hide(window); }, Qt::QueuedConnection);
        });
    configure(*layer);
    wl_surface_commit(surface);
    // The compositor answers the commit before the roundtrip's end.
    wl_display_roundtrip_queue(m_display, m_queue);
    if (!layer->configured) {
        // Drawing into an unconfigured layer surface is a protocol error,
        // which would end the connection and the app with it.
        layer.reset();
        window->hide();
        return nullptr;
    }
    // Later configures (an output's new size) reach it through Qt's dispatch.
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(layer->object()), nullptr);
    return &m_roles
                .emplace(window, Role{std::move(layer),
                                      QObject::connect(window, &QObject::destroyed,
                                                       [this](QObject* gone) { dropRole(gone); }),
                                      nullptr})
                .first->second;
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
