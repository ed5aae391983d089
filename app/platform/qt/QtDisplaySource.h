#pragma once

#include "platform/DisplaySource.h"

namespace vellumix {

// Displays as Qt's screens describe them; works on every Qt platform.
class QtDisplaySource final : public DisplaySource {
public:
    QList<DisplayInfo> displays() const override;
    QPointF mouseLocation() const override;
};

} // namespace vellumix
