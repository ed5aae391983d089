#include "capture/CaptureRegion.h"

#include <algorithm>
#include <cmath>

namespace vellumix {

QSize CaptureRegion::pixelSize() const {
    // std::round rounds halves away from zero.
    return QSize(int(std::round(rect.width() * scale)), int(std::round(rect.height() * scale)));
}

QRect CaptureRegion::pixelRect(QSize bounds) const {
    const QSize size = pixelSize();
    const int x = int(std::round(rect.x() * scale));
    const int y = int(std::round(rect.y() * scale));
    return QRect(std::clamp(x, 0, std::max(0, bounds.width() - size.width())),
                 std::clamp(y, 0, std::max(0, bounds.height() - size.height())), size.width(),
                 size.height());
}

} // namespace vellumix
