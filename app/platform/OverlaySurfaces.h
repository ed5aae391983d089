#pragma once

#include "platform/DisplayInfo.h"

class QWidget;

namespace vellumix {

// How a window covering a display takes input.
enum class OverlayInput {
    // Every pointer event on the display, and the keyboard (the selection
    // overlay).
    whole,
    // Only inside the window's mask, so the rest of the desktop stays
    // usable; the keyboard until the user clicks elsewhere (the in-place
    // editor).
    masked,
};

// Shows the app's windows that must stay above every other window: those
// that cover a whole display (the selection overlay, the in-place editor),
// above panels and docks, and small floating ones (the scrolling-capture
// panel, pins). Where clients may place windows the window takes its frame
// and its flags keep it on top; where they may not (Wayland), it takes a
// surface role the compositor stacks above the rest, or a full-screen window
// on that display. The window's kind and flags stay the caller's. Main thread
// only.
class OverlaySurfaces {
public:
    virtual ~OverlaySurfaces() = default;
    // Shows the top-level `window` covering `display`.
    virtual void show(QWidget* window, const DisplayInfo& display, OverlayInput input) = 0;
    // Shows the small top-level `window` at its geometry (in the desktop's
    // logical points), above ordinary windows; it follows the window's later
    // moves and resizes.
    virtual void showFloating(QWidget* window) = 0;
    // Hides a window shown here; it may be shown again.
    virtual void hide(QWidget* window) = 0;
    // True where the desktop shows nothing beneath a window covering a
    // display (black), so the window must paint all of it.
    virtual bool hidesWhatIsBeneath() const { return false; }
    // False where the desktop puts floating windows where it likes and does
    // not say where (a Wayland desktop without layer-shell): one may lie
    // anywhere, over a region too.
    virtual bool placesFloatingWindows() const { return true; }
};

} // namespace vellumix
