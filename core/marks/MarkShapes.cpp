#include "marks/MarkShapes.h"

#include <algorithm>
#include <cmath>

namespace vellumix::mark_shapes {

QRectF span(QPointF a, QPointF b) {
    return QRectF(std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::abs(b.x() - a.x()),
                  std::abs(b.y() - a.y()));
}

QRectF expanded(const QRectF& rect, double distance) {
    return QRectF(rect.x() - distance, rect.y() - distance, rect.width() + 2 * distance,
                  rect.height() + 2 * distance);
}

bool contains(const QRectF& rect, QPointF point) {
    return point.x() >= rect.left() && point.x() < rect.left() + rect.width() &&
           point.y() >= rect.top() && point.y() < rect.top() + rect.height();
}

double distanceToSegment(QPointF point, QPointF a, QPointF b) {
    const QPointF direction = b - a;
    const double lengthSquared = QPointF::dotProduct(direction, direction);
    if (lengthSquared == 0) {
        return std::hypot(point.x() - a.x(), point.y() - a.y());
    }
    const double t =
        std::clamp(QPointF::dotProduct(point - a, direction) / lengthSquared, 0.0, 1.0);
    const QPointF nearest = a + direction * t;
    return std::hypot(point.x() - nearest.x(), point.y() - nearest.y());
}

QPainterPath roundedRect(const QRectF& rect, double radius) {
    const double limit = std::min(rect.width(), rect.height()) / 2;
    const double r = std::clamp(radius, 0.0, limit);
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    if (r > 0) {
        path.addRoundedRect(rect, r, r);
    } else {
        path.addRect(rect);
    }
    return path;
}

} // namespace vellumix::mark_shapes
