#pragma once

#include "platform/DisplaySource.h"

class QScreen;

namespace vellumix {

// Displays as Qt's screens describe them; works on every Qt platform.
class QtDisplaySource final : public DisplaySource {
public:
    QList<DisplayInfo> displays() const override;
    QPointF mouseLocation() const override;

    // The screen that shows the display `id`, else null.
    static QScreen* screenOf(quint32 id);
};

} // namespace vellumix
