#pragma once

#include "platform/DisplayInfo.h"

#include <QImage>

namespace vellumix {

// One display as the overlay froze it: the grab, and the same pixels dimmed
// in the format the window system paints fastest, so that repainting what is
// not chosen only copies pixels.
struct FrozenDisplay {
    DisplayInfo display;
    QImage image;  // as grabbed, device pixels; crops and colours come from it
    QImage dimmed; // `image` under black at `dimming`, Format_RGB32, device
                   // pixel ratio = the scale

    // Black at alpha 0.4 over the frozen display: what is not chosen.
    static constexpr double dimming = 0.4;

    // Makes `dimmed`; any thread.
    static FrozenDisplay prepare(const DisplayInfo& display, const QImage& image);
};

} // namespace vellumix
