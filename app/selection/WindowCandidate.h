#pragma once

#include "platform/WindowInfo.h"

namespace vellumix {

// A window the overlay offers, with its frame in the overlay display's own
// space (points, top-left origin).
struct WindowCandidate {
    WindowInfo window;
    QRectF rect;

    // The title, or else the owning application's name, or else "Window".
    QString name() const;
};

} // namespace vellumix
