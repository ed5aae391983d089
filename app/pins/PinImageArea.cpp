#include "pins/PinImageArea.h"

#include "platform/WindowKind.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include <algorithm>

namespace vellumix {

PinImageArea::PinImageArea(QImage image, QSizeF initialSize, QWidget* parent)
    : QWidget(parent), m_image(std::move(image)), m_initialSize(initialSize) {
    setMinimumSize(1, 1);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QRectF PinImageArea::imageRect(QSizeF area, QSizeF initialSize, QSizeF imageSize) {
    const double base = std::max(initialSize.width(), minimumWidth);
    double width =
        area.width() >= base ? initialSize.width() * area.width() / base : initialSize.width();
    width = std::min(width, area.width());
    const QRectF frame((area.width() - width) / 2, 0, width, area.height());
    if (imageSize.isEmpty() || frame.isEmpty()) {
        return QRectF(frame.center(), QSizeF(0, 0));
    }
    const QSizeF fitted = imageSize.scaled(frame.size(), Qt::KeepAspectRatio);
    return QRectF(frame.center() - QPointF(fitted.width() / 2, fitted.height() / 2), fitted);
}

void PinImageArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Mid));
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(imageRect(size(), m_initialSize, m_image.size()), m_image);
}

void PinImageArea::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        windowkind::startMove(window());
    }
}

} // namespace vellumix
