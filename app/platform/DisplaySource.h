#pragma once

#include "platform/DisplayInfo.h"

namespace vellumix {

// The attached displays and the pointer. Main thread only.
class DisplaySource {
public:
    virtual ~DisplaySource() = default;

    // In the platform's screen order (the primary display first).
    virtual QList<DisplayInfo> displays() const = 0;
    // Global points, top-left origin.
    virtual QPointF mouseLocation() const = 0;
};

} // namespace vellumix
