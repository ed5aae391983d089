#pragma once

#include "platform/OverlaySurfaces.h"

#include <QObject>

#include <map>
#include <memory>

struct wl_display;
struct wl_event_queue;

namespace vellumix {

class LayerShell;
class LayerSurface;

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

    void show(QWidget* window, const DisplayInfo& display) override;
    void hide(QWidget* window) override;

    static constexpr const char* surfaceNamespace = "vellumix";

private:
    LayerShellOverlays(wl_display* display, wl_event_queue* queue,
                       std::unique_ptr<LayerShell> shell);
    void giveLayerRole(QWidget* window, const DisplayInfo& display);

    wl_display* m_display;
    // The first configure of a new surface is awaited on this queue, so
    // that Qt, dispatching the default queue on its own, cannot draw into
    // the surface before the compositor allowed it.
    wl_event_queue* m_queue;
    std::unique_ptr<LayerShell> m_shell;
    struct Role {
        std::unique_ptr<LayerSurface> surface;
        QMetaObject::Connection windowGone;
    };
    std::map<QObject*, Role> m_roles;
    void dropRole(QObject* window);
};

} // namespace vellumix
