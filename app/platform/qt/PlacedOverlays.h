#pragma once

#include "platform/OverlaySurfaces.h"

namespace vellumix {

// Overlays where a client places its own windows (X11, offscreen): the
// window takes the display's frame; its flags keep it above the rest, and
// its mask limits its input.
class PlacedOverlays final : public OverlaySurfaces {
public:
    void show(QWidget* window, const DisplayInfo& display, OverlayInput input) override;
    void showFloating(QWidget* window) override;
    void hide(QWidget* window) override;
};

// Overlays where a client can neither place windows nor stack them (a
// Wayland desktop without layer-shell, such as GNOME): a full-screen window
// on the display's screen, which the desktop keeps above its panels and draws
// on black. Floating windows are ordinary windows wherever the desktop puts
// them.
class FullScreenOverlays final : public OverlaySurfaces {
public:
    void show(QWidget* window, const DisplayInfo& display, OverlayInput input) override;
    void showFloating(QWidget* window) override;
    void hide(QWidget* window) override;
    bool hidesWhatIsBeneath() const override { return true; }
    bool placesFloatingWindows() const override { return false; }
};

} // namespace vellumix
