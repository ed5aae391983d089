#include "marks/ImageMark.h"
#include "marks/MarkLayout.h"
#include "marks/MarkShapes.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>

namespace vellumix {

namespace {

using namespace mark_shapes;

constexpr double arrowHeadHalfAngle = 0.45;
constexpr double arrowHeadLengthPerThickness = 3.2;
constexpr double minimumArrowHeadLength = 11;
constexpr double stepOutlineWidth = 2;
constexpr double highlightOpacity = 0.24;
const QColor placeholderFill = QColor::fromRgbF(0.5f, 0.5f, 0.5f, 0.3f);

// The rectangle a box-like mark covers: the first and the last point span it.
QRectF markRect(const ImageMark& mark) {
    return span(mark.points.front(), mark.points.back());
}

// An open V at tip, its arms pointing back along the direction from from.
void drawArrowHead(QPainter& painter, const ImageMark& mark, QPointF from, QPointF tip) {
    const double angle = std::atan2(tip.y() - from.y(), tip.x() - from.x());
    const double length =
        std::max(mark.thickness * arrowHeadLengthPerThickness, minimumArrowHeadLength);
    QPainterPath head;
    head.moveTo(tip.x() - length * std::cos(angle - arrowHeadHalfAngle),
                tip.y() - length * std::sin(angle - arrowHeadHalfAngle));
    head.lineTo(tip);
    head.lineTo(tip.x() - length * std::cos(angle + arrowHeadHalfAngle),
                tip.y() - length * std::sin(angle + arrowHeadHalfAngle));
    painter.strokePath(head, painter.pen());
}

// Strokes the polyline through points. Qt leaves a path without length
// blank, but a click with a line-drawing tool should leave a round dot, as
// round caps on a zero-length stroke do.
void strokeOpenPath(QPainter& painter, const QVector<QPointF>& points) {
    if (points.size() < 2) {
        return;
    }
    const bool dot = std::all_of(points.begin(), points.end(),
                                 [&](QPointF point) { return point == points.front(); });
    if (dot) {
        const QPen pen = painter.pen();
        painter.save();
        painter.setPen(Qt::NoPen);
        painter.setBrush(pen.color());
        painter.drawEllipse(points.front(), pen.widthF() / 2, pen.widthF() / 2);
        painter.restore();
        return;
    }
    painter.drawPolyline(points.data(), int(points.size()));
}

void drawNothing(QPainter&, const ImageMark&) {}

void drawRectangle(QPainter& painter, const ImageMark& mark) {
    painter.strokePath(roundedRect(markRect(mark), mark.cornerRadius), painter.pen());
}

void drawEllipse(QPainter& painter, const ImageMark& mark) {
    painter.drawEllipse(markRect(mark));
}

void drawLine(QPainter& painter, const ImageMark& mark) {
    strokeOpenPath(painter, {mark.points.front(), mark.points.back()});
}

void drawArrow(QPainter& painter, const ImageMark& mark) {
    if (mark.points.size() < 2) {
        return;
    }
    strokeOpenPath(painter, {mark.points[0], mark.points[1]});
    drawArrowHead(painter, mark, mark.points[0], mark.points[1]);
}

void drawCurvedArrow(QPainter& painter, const ImageMark& mark) {
    if (mark.points.size() < 2) {
        return;
    }
    const QPointF start = mark.points[0];
    const QPointF end = mark.points[1];
    const QPointF control = mark.points.size() >= 3 ? mark.points[2] : (start + end) / 2;
    if (start == end && control == end) {
        strokeOpenPath(painter, {start, end});
    } else {
        QPainterPath curve(start);
        curve.quadTo(control, end);
        painter.strokePath(curve, painter.pen());
    }
    drawArrowHead(painter, mark, control, end);
}

void drawPen(QPainter& painter, const ImageMark& mark) {
    strokeOpenPath(painter, mark.points);
}

void drawPixelate(QPainter& painter, const ImageMark& mark) {
    const QRectF rect = markRect(mark);
    if (!mark.bitmap || mark.bitmap->isNull()) {
        painter.fillRect(rect, placeholderFill);
        return;
    }
    // The bitmap holds one pixel per block; stretching it without smoothing
    // turns each pixel into a hard-edged block.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(rect, *mark.bitmap);
}

void drawText(QPainter& painter, const ImageMark& mark) {
    const MarkFont font = mark_layout::textFont(mark);
    const QStringList lines = mark_layout::textLines(mark);
    const QPointF origin = mark.points.front();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const double baseline = origin.y() + font.ascent() + i * font.lineAdvance();
        font.draw(painter, QPointF(origin.x(), baseline), lines[i]);
    }
}

void drawStep(QPainter& painter, const ImageMark& mark) {
    const QPointF center = mark.points.front();
    const double radius = mark_layout::stepRadius(mark);
    painter.setPen(Qt::NoPen);
    painter.setBrush(mark.color);
    painter.drawEllipse(center, radius, radius);
    painter.setPen(QPen(Qt::white, stepOutlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(center, radius, radius);
    // The number's ascent-to-descent box is centred on the badge's centre.
    const MarkFont font = mark_layout::stepFont(radius);
    const QPointF baseline(center.x() - font.width(mark.text) / 2,
                           center.y() + (font.ascent() - font.descent()) / 2);
    font.draw(painter, baseline, mark.text);
}

void drawHighlight(QPainter& painter, const ImageMark& mark) {
    painter.setOpacity(highlightOpacity);
    painter.fillPath(roundedRect(markRect(mark), mark.cornerRadius), mark.color);
}

void drawCover(QPainter& painter, const ImageMark& mark) {
    painter.fillRect(markRect(mark), mark.color);
}

void drawCalloutPointer(QPainter& painter, const ImageMark& mark, const QRectF& bubble) {
    const QPointF target = mark.points[1];
    const QPointF center = bubble.center();
    const QPointF d = target - center;
    // The floor keeps a target straight above, below or beside the centre
    // from dividing by zero.
    const double sx = (bubble.width() / 2) / std::max(std::abs(d.x()), 0.001);
    const double sy = (bubble.height() / 2) / std::max(std::abs(d.y()), 0.001);
    const QPointF edge = center + d * std::min(sx, sy);
    strokeOpenPath(painter, {edge, target});
    drawArrowHead(painter, mark, edge, target);
}

void drawCallout(QPainter& painter, const ImageMark& mark) {
    const mark_layout::CalloutLayout layout = mark_layout::calloutLayout(mark);
    const QRectF& bubble = layout.bubble;
    if (mark.points.size() >= 2 && !contains(bubble, mark.points[1])) {
        drawCalloutPointer(painter, mark, bubble);
    }
    // The bubble goes over the pointer's start.
    painter.fillPath(roundedRect(bubble, mark_layout::bubbleCornerRadius), mark.color);
    painter.setPen(Qt::white);
    const double left = bubble.left() + mark_layout::bubbleTextLeft;
    double top = bubble.top() + mark_layout::bubbleTextTop;
    for (const QString& line : layout.lines) {
        layout.font.draw(painter, QPointF(left, top + layout.font.ascent()), line);
        // Lines sit on whole pixels, while the bubble's height uses the exact
        // line height.
        top += std::ceil(layout.font.lineAdvance());
    }
}

using Drawer = void (*)(QPainter&, const ImageMark&);

struct ToolDrawing {
    DrawingTool tool;
    Drawer draw;
};

constexpr std::array<ToolDrawing, drawing_tool::allCases.size()> toolDrawings = {{
    {DrawingTool::select, drawNothing},
    {DrawingTool::rectangle, drawRectangle},
    {DrawingTool::ellipse, drawEllipse},
    {DrawingTool::line, drawLine},
    {DrawingTool::arrow, drawArrow},
    {DrawingTool::curvedArrow, drawCurvedArrow},
    {DrawingTool::callout, drawCallout},
    {DrawingTool::pen, drawPen},
    {DrawingTool::pixelate, drawPixelate},
    {DrawingTool::text, drawText},
    {DrawingTool::step, drawStep},
    {DrawingTool::highlight, drawHighlight},
    {DrawingTool::cover, drawCover},
    {DrawingTool::crop, drawNothing},
}};

constexpr bool rowsFollowToolOrder() {
    for (size_t i = 0; i < toolDrawings.size(); ++i) {
        if (toolDrawings[i].tool != drawing_tool::allCases[i]) {
            return false;
        }
    }
    return true;
}
static_assert(rowsFollowToolOrder(), "toolDrawings is indexed by DrawingTool");

} // namespace

void ImageMark::draw(QPainter& painter) const {
    if (points.isEmpty()) {
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(
        QPen(color, std::max(thickness, 0.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    toolDrawings[static_cast<size_t>(tool)].draw(painter, *this);
    painter.restore();
}

} // namespace vellumix
