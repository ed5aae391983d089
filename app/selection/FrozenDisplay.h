#pragma once

#include "platform/DisplayInfo.h"

#include <QImage>

namespace vellumix {

// One display as the overlay froze it: the grab, and the same pixels in the
// format the window system paints fastest, plain and dimmed, so that a
// repaint only copies pixels.
struct FrozenDisplay {
    DisplayInfo display;
    QImage image;  // as grabbed, device pixels; crops and colours come from it
    QImage shown;  // `image` as Format_RGB32, device pixel ratio = the scale
    QImage dimmed; // `shown` under black at `dimming`

    // Black at alpha 0.4 over the frozen display: what is not chosen.
    static constexpr double dimming = 0.4;

    // Makes `shown` and `dimmed`; any thread. A null image gives null
    // pictures.
    static FrozenDisplay prepare(const DisplayInfo& display, const QImage& image);
};

} // namespace vellumix
