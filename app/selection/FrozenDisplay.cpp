#include "selection/FrozenDisplay.h"

#include <QPainter>

namespace vellumix {

FrozenDisplay FrozenDisplay::prepare(const DisplayInfo& display, const QImage& image) {
    // Qt's own conversion and fill are vectorised (the conversion also runs
    // on several threads): faster here than a loop of ours over the pixels.
    FrozenDisplay frozen{display, image, image.convertToFormat(QImage::Format_RGB32), QImage()};
    frozen.dimmed = frozen.shown.copy();
    if (!frozen.dimmed.isNull()) {
        QPainter painter(&frozen.dimmed);
        QColor black(Qt::black);
        black.setAlphaF(float(dimming));
        painter.fillRect(frozen.dimmed.rect(), black);
    }
    frozen.shown.setDevicePixelRatio(display.scale);
    frozen.dimmed.setDevicePixelRatio(display.scale);
    return frozen;
}

} // namespace vellumix
