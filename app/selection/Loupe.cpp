#include "selection/Loupe.h"

#include "imaging/CaptureSelectionImage.h"
#include "selection/HintPanel.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vellumix {

std::optional<Loupe> Loupe::at(QPointF pointer, QSizeF bounds, double panelTop, const QImage& image,
                               double scale) {
    if (!QRectF(QPointF(0, 0), bounds).contains(pointer)) {
        return std::nullopt;
    }
    const QPoint pixel(int(std::floor(pointer.x() * scale)), int(std::floor(pointer.y() * scale)));
    const std::optional<QString> hex = CaptureSelectionImage::hex(image, pixel.x(), pixel.y());
    if (!hex) {
        return std::nullopt;
    }
    Loupe loupe;
    loupe.box = QRectF(std::min(std::max(pointer.x() + 24, 8.0), bounds.width() - 142),
                       std::min(std::max(pointer.y() + 24, 8.0), panelTop - 143), boxSize.width(),
                       boxSize.height());
    loupe.pixel = pixel;
    const QPoint origin(std::max(pixel.x() - span / 2, 0), std::max(pixel.y() - span / 2, 0));
    loupe.source = QRect(origin, QSize(std::min(image.width() - origin.x(), span),
                                       std::min(image.height() - origin.y(), span)));
    loupe.hex = *hex;
    return loupe;
}

void Loupe::paint(QPainter& painter, const QImage& image) const {
    QColor black(Qt::black);
    black.setAlphaF(0.9f);
    painter.setPen(Qt::NoPen);
    painter.setBrush(black);
    painter.drawRoundedRect(box, 10, 10);
    const QRectF zoom(box.x() + 21, box.y() + 9, zoomSide, zoomSide);
    if (!source.isEmpty()) {
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(zoom, image, QRectF(source));
        painter.restore();
        const double cellWidth = zoomSide / source.width();
        const double cellHeight = zoomSide / source.height();
        painter.setPen(QPen(Qt::white, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(zoom.x() + (pixel.x() - source.x()) * cellWidth,
                                zoom.y() + (pixel.y() - source.y()) * cellHeight, cellWidth,
                                cellHeight));
    }
    painter.setFont(hintpanel::font(14));
    painter.setPen(Qt::white);
    painter.drawText(QRectF(box.x() + 28, box.y() + 104, boxSize.width() - 28, 20),
                     Qt::AlignLeft | Qt::AlignTop, hex);
}

} // namespace vellumix
