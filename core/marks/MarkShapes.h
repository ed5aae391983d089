#pragma once

#include <QPainterPath>
#include <QPointF>
#include <QRectF>

// Plain rectangle and segment geometry shared by mark geometry and drawing.
namespace vellumix::mark_shapes {

// The rectangle spanned by two corners, whatever their order.
QRectF span(QPointF a, QPointF b);
// Moved outward by distance on every side; a negative distance shrinks it.
QRectF expanded(const QRectF& rect, double distance);
// Half-open containment: the left and top edges belong to the rectangle, the
// right and bottom ones do not, so adjacent rectangles never both contain a
// point. A rectangle shrunk past empty contains nothing.
bool contains(const QRectF& rect, QPointF point);
// Distance from point to the nearest point of the segment from a to b.
double distanceToSegment(QPointF point, QPointF a, QPointF b);
// A rectangle with corners of the given radius. A radius past half the
// shorter side is drawn as that half, so a small rectangle becomes a capsule.
QPainterPath roundedRect(const QRectF& rect, double radius);

} // namespace vellumix::mark_shapes
