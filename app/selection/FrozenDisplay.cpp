#include "selection/FrozenDisplay.h"

#include <QPainter>

namespace vellumix {

FrozenDisplay FrozenDisplay::prepare(const DisplayInfo& display, const QImage& image) {
    // Qt's conversion (on several threads) and fill are vectorised; one new
    // picture of the display is all a freeze allocates here.
    FrozenDisplay frozen{display, image, image.convertToFormat(QImage::Format_RGB32)};
    if (!frozen.dimmed.isNull()) {
        QPainter painter(&frozen.dimmed);
        QColor black(Qt::black);
        black.setAlphaF(float(dimming));
        painter.fillRect(frozen.dimmed.rect(), black);
    }
    frozen.dimmed.setDevicePixelRatio(display.scale);
    return frozen;
}

} // namespace vellumix
