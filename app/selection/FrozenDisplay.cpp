#include "selection/FrozenDisplay.h"

#include <QPainter>

namespace vellumix {

FrozenDisplay FrozenDisplay::prepare(const DisplayInfo& display, const QImage& image) {
    FrozenDisplay frozen{display, image, image.convertToFormat(QImage::Format_RGB32), QImage()};
    frozen.shown.setDevicePixelRatio(display.scale);
    frozen.dimmed = frozen.shown.copy();
    frozen.dimmed.setDevicePixelRatio(display.scale);
    QPainter painter(&frozen.dimmed);
    QColor black(Qt::black);
    black.setAlphaF(float(dimming));
    painter.fillRect(QRectF(QPointF(0, 0), frozen.dimmed.deviceIndependentSize()), black);
    return frozen;
}

} // namespace vellumix
