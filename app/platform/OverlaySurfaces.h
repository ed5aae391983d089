#pragma once

#include "platform/DisplayInfo.h"

class QWidget;

namespace vellumix {

// Shows the app's windows that cover a whole display (the selection overlay,
// the in-place editor) above every other window, panels and docks included,
// with the keyboard. Where clients may place windows that is the display's
// frame; where they may not (Wayland), it takes a surface role the compositor
// stacks above the rest, or a full-screen window on that display. The
// window's kind and flags stay the caller's. Main thread only.
class OverlaySurfaces {
public:
    virtual ~OverlaySurfaces() = default;
    // Shows the top-level `window` covering `display`.
    virtual void show(QWidget* window, const DisplayInfo& display) = 0;
    // Hides a window shown here; it may be shown again.
    virtual void hide(QWidget* window) = 0;
};

} // namespace vellumix
