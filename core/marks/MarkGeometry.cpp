#include "marks/ImageMark.h"
#include "marks/MarkLayout.h"
#include "marks/MarkShapes.h"

#include <algorithm>
#include <cmath>

namespace vellumix {

namespace {

using namespace mark_shapes;

constexpr double calloutFrameMargin = 4;
constexpr int curveHitSamples = 64;

QRectF pointsBounds(const QVector<QPointF>& points, double thickness) {
    double left = points.front().x();
    double right = left;
    double top = points.front().y();
    double bottom = top;
    for (const QPointF& point : points) {
        left = std::min(left, point.x());
        right = std::max(right, point.x());
        top = std::min(top, point.y());
        bottom = std::max(bottom, point.y());
    }
    return expanded(QRectF(left, top, right - left, bottom - top), thickness / 2);
}

QRectF textBounds(const ImageMark& mark) {
    const MarkFont font = mark_layout::textFont(mark);
    const QStringList lines = mark_layout::textLines(mark);
    double width = 0;
    for (const QString& line : lines) {
        width = std::max(width, font.width(line));
    }
    return QRectF(mark.points.front(), QSizeF(width, font.lineAdvance() * lines.size()));
}

QRectF calloutBounds(const ImageMark& mark) {
    const QPointF target = mark.points.size() > 1 ? mark.points[1] : mark.points.front();
    const QRectF united = mark.bubbleRect().united(QRectF(target, QSizeF(1, 1)));
    return expanded(united, calloutFrameMargin);
}

bool nearPolyline(const QVector<QPointF>& points, QPointF point, double reach) {
    for (qsizetype i = 1; i < points.size(); ++i) {
        if (distanceToSegment(point, points[i - 1], points[i]) <= reach) {
            return true;
        }
    }
    return false;
}

bool nearCurve(const ImageMark& mark, QPointF point, double reach) {
    const QPointF start = mark.points[0];
    const QPointF end = mark.points[1];
    const QPointF control = mark.points[2];
    QPointF previous = start;
    for (int k = 1; k <= curveHitSamples; ++k) {
        const double s = double(k) / curveHitSamples;
        const QPointF sample = (1 - s) * (1 - s) * start + 2 * s * (1 - s) * control + s * s * end;
        if (distanceToSegment(point, previous, sample) <= reach) {
            return true;
        }
        previous = sample;
    }
    return false;
}

// Only the outline band is hit, so a click inside a rectangle reaches what is
// beneath it.
bool onRectangleOutline(const ImageMark& mark, QPointF point, double tolerance) {
    const QRectF rect = span(mark.points[0], mark.points[1]);
    return contains(expanded(rect, tolerance), point) &&
           !contains(expanded(rect, -tolerance), point);
}

bool onEllipse(const ImageMark& mark, QPointF point, double reach) {
    const QRectF rect = span(mark.points[0], mark.points[1]);
    if (rect.width() == 0 || rect.height() == 0) {
        return false;
    }
    const QPointF center = rect.center();
    const double a = rect.width() / 2;
    const double b = rect.height() / 2;
    const double q = std::hypot((point.x() - center.x()) / a, (point.y() - center.y()) / b);
    const double distance = std::abs(q - 1) * std::min(rect.width(), rect.height()) / 2;
    return distance <= reach;
}

bool hitsArea(DrawingTool tool) {
    return tool == DrawingTool::text || tool == DrawingTool::step ||
           tool == DrawingTool::pixelate || tool == DrawingTool::cover ||
           tool == DrawingTool::highlight;
}

bool hitsCallout(const ImageMark& mark, QPointF point, double tolerance, double reach) {
    const QRectF bubble = mark.bubbleRect();
    if (contains(expanded(bubble, tolerance), point)) {
        return true;
    }
    return mark.points.size() > 1 &&
           distanceToSegment(point, bubble.center(), mark.points[1]) <= reach;
}

} // namespace

QRectF ImageMark::bounds() const {
    if (points.isEmpty()) {
        return QRectF(0, 0, 0, 0);
    }
    switch (tool) {
    case DrawingTool::callout:
        return calloutBounds(*this);
    case DrawingTool::step: {
        const double r = mark_layout::stepRadius(*this);
        return QRectF(points.front().x() - r, points.front().y() - r, 2 * r, 2 * r);
    }
    case DrawingTool::text:
        return textBounds(*this);
    default:
        return pointsBounds(points, thickness);
    }
}

QRectF ImageMark::bubbleRect() const {
    return mark_layout::calloutLayout(*this).bubble;
}

ImageMark ImageMark::translated(double x, double y) const {
    ImageMark moved = *this;
    for (QPointF& point : moved.points) {
        point += QPointF(x, y);
    }
    return moved;
}

bool ImageMark::hitTest(QPointF point, double tolerance) const {
    const double reach = thickness / 2 + tolerance;
    if (points.isEmpty()) {
        return false;
    }
    if (hitsArea(tool)) {
        return contains(expanded(bounds(), tolerance), point);
    }
    if (tool == DrawingTool::callout) {
        return hitsCallout(*this, point, tolerance, reach);
    }
    if (points.size() == 1) {
        return false;
    }
    if (tool == DrawingTool::curvedArrow && points.size() >= 3) {
        return nearCurve(*this, point, reach);
    }
    if (tool == DrawingTool::rectangle) {
        return onRectangleOutline(*this, point, tolerance);
    }
    if (tool == DrawingTool::ellipse) {
        return onEllipse(*this, point, reach);
    }
    return nearPolyline(points, point, reach);
}

} // namespace vellumix
