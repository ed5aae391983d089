#pragma once

#include "platform/OverlaySurfaces.h"

#include <QObject>

#include <functional>
#include <map>
#include <memory>

class QScreen;
struct wl_display;
struct wl_event_queue;

namespace vellumix {

class LayerShell;
class LayerSurface;
class FloatingPlacement;

// Overlays as layer-shell surfaces on the overlay layer (wlroots desktops,
// KDE): each covers its output, above panels and docks, and takes the
// keyboard. Qt gives a window flagged BypassWindowManagerHint a surface
// without a role while QT_WAYLAND_USE_BYPASSWINDOWMANAGERHINT is set, so the
// layer role can be given to Qt's own surface and Qt draws and reads input
// as for any window.
class LayerShellOverlays final : public OverlaySurfaces {
public:
    // Null when the compositor offers no layer-shell or Qt does not run on
    // Wayland.
    static std::unique_ptr<LayerShellOverlays> create();
    ~LayerShellOverlays() override;

    void show(QWidget* window, const DisplayInfo& display, OverlayInput input) override;
    void showFloating(QWidget* window) override;
    void hide(QWidget* window) override;

    static constexpr const char* surfaceNamespace = "vellumix";

private:
    LayerShellOverlays(wl_display* display, wl_event_queue* queue,
                       std::unique_ptr<LayerShell> shell);

    wl_display* m_display;
    // The first configure of a new surface is awaited on this queue, so
    // that Qt, dispatching the default queue on its own, cannot draw into
    // the surface before the compositor allowed it.
    wl_event_queue* m_queue;
    std::unique_ptr<LayerShell> m_shell;
    struct Role {
        std::unique_ptr<LayerSurface> surface;
        QMetaObject::Connection windowGone;
        // Floating surfaces only; it goes before the surface it places.
        std::unique_ptr<FloatingPlacement> placement;
    };
    std::map<QObject*, Role> m_roles;
    // Shows `window` and gives its surface the overlay layer's role on
    // `screen`'s output, set up by `configure` before the first commit. The
    // new role, or null when it has one or the compositor refused.
    Role* showWithRole(QWidget* window, QScreen* screen,
                       const std::function<void(LayerSurface&)>& configure);
    void dropRole(QObject* window);
};

} // namespace vellumix
