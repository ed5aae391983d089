#include "capture/CaptureRegion.h"

#include <cmath>

namespace vellumix {

QSize CaptureRegion::pixelSize() const {
    // std::round rounds halves away from zero.
    return QSize(int(std::round(rect.width() * scale)), int(std::round(rect.height() * scale)));
}

} // namespace vellumix
