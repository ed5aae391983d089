#include "editor/CanvasView.h"

#include "editor/EditorDocument.h"
#include "editor/StepNumber.h"
#include "marks/ToolTraits.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace vellumix {

namespace {

constexpr double selectionPadding = 4;
constexpr double handleDiameter = 10;
constexpr double handleLineWidth = 1.5;
void bendCurve(ImageMark& mark) {
    if (ToolTraits::of(mark.tool).points == ToolPoints::curve && mark.points.size() >= 2) {
        mark.points = {mark.points[0], mark.points[1],
                       curve::controlPoint(mark.points[0], mark.points[1])};
    }
}

bool hasHandles(const ImageMark& mark) {
    return ToolTraits::of(mark.tool).handles;
}

bool drawsPath(const ImageMark& mark) {
    return ToolTraits::of(mark.tool).points == ToolPoints::path;
}

double distance(QPointF a, QPointF b) {
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

QRectF cropFrame(const ImageMark& mark) {
    return QRectF(mark.points.front(), mark.points.back()).normalized();
}

QPen dashedPen(double width, double on, double off) {
    QPen pen(CanvasView::accent, width);
    // Qt measures dashes in pen widths.
    pen.setDashPattern({on / width, off / width});
    return pen;
}

} // namespace

CanvasView::CanvasView(EditorDocument& document, QWidget* parent)
    : QWidget(parent), m_document(document) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&m_document, &EditorDocument::stateChanged, this, [this] {
        ++m_generation;
        fitSize();
        update();
    });
    connect(&m_document, &EditorDocument::selectedChanged, this, qOverload<>(&QWidget::update));
    fitSize();
}

void CanvasView::setScale(double scale) {
    if (scale > 0 && std::isfinite(scale) && scale != m_scale) {
        m_scale = scale;
        fitSize();
        update();
    }
}

QSize CanvasView::sizeHint() const {
    const QRectF area = m_document.visibleArea();
    return QSizeF(area.width() * m_scale, area.height() * m_scale).toSize().expandedTo(QSize(1, 1));
}

void CanvasView::fitSize() {
    setFixedSize(sizeHint());
}

QTransform CanvasView::imageToView() const {
    const QRectF area = m_document.visibleArea();
    return QTransform::fromScale(m_scale, m_scale).translate(-area.x(), -area.y());
}

QPointF CanvasView::imagePoint(QPointF view) const {
    const QRectF area = m_document.visibleArea();
    return QPointF(std::clamp(view.x() / m_scale + area.x(), area.left(), area.right()),
                   std::clamp(view.y() / m_scale + area.y(), area.top(), area.bottom()));
}

ImageMark CanvasView::newMark(DrawingTool tool, QVector<QPointF> points,
                              const QString& text) const {
    return m_document.styled(
        ImageMark(tool, std::move(points), m_document.color(), m_document.thickness(), text));
}

void CanvasView::mousePressEvent(QMouseEvent* event) {
    press(event, 1);
}

void CanvasView::mouseDoubleClickEvent(QMouseEvent* event) {
    press(event, 2);
}

void CanvasView::press(QMouseEvent* event, int clickCount) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    m_moving.reset();
    m_moved.reset();
    m_dragOrigin.reset();
    m_handle.reset();
    const QPointF p = imagePoint(event->position());
    setFocus(Qt::MouseFocusReason);
    const bool freshMark =
        m_document.tool() == DrawingTool::crop || event->modifiers().testFlag(Qt::AltModifier);
    if (!freshMark && (grabHandle(p) || grabMark(p, clickCount))) {
        update();
        return;
    }
    m_document.setSelected(std::nullopt);
    if (m_document.tool() == DrawingTool::select) {
        m_document.setTool(DrawingTool::arrow);
    }
    startMark(p);
    update();
}

bool CanvasView::grabHandle(QPointF p) {
    const std::optional<ImageMark> mark = m_document.activeMark();
    if (!mark || !hasHandles(*mark)) {
        return false;
    }
    for (int i = 0; i < mark->points.size(); ++i) {
        if (distance(mark->points[i], p) < handleReach / m_scale) {
            m_moving = mark;
            m_dragOrigin = p;
            m_handle = i;
            return true;
        }
    }
    return false;
}

bool CanvasView::grabMark(QPointF p, int clickCount) {
    const QVector<ImageMark>& marks = m_document.state().marks;
    for (int i = int(marks.size()) - 1; i >= 0; --i) {
        if (marks[i].hitTest(p, hitTolerance / m_scale)) {
            m_document.setSelected(i);
            m_moving = marks[i];
            m_dragOrigin = p;
            if (clickCount == 2) {
                m_document.editSelectedText();
            }
            return true;
        }
    }
    return false;
}

void CanvasView::startMark(QPointF p) {
    switch (m_document.tool()) {
    case DrawingTool::text:
        if (const auto answer = m_document.promptText(QStringLiteral("Add text"), QString())) {
            m_document.commit(newMark(DrawingTool::text, {p}, *answer));
        }
        break;
    case DrawingTool::step:
        addStep(p);
        break;
    default:
        m_pending = newMark(m_document.tool(), {p, p}, QString());
    }
}

void CanvasView::addStep(QPointF p) {
    // Past the largest number a step may carry there is nothing to add; the
    // document would refuse the number when it is edited later.
    if (const std::optional<int> number = StepNumber::next(m_document.state().marks)) {
        m_document.commit(newMark(DrawingTool::step, {p}, QString::number(*number)));
    } else {
        m_document.setMessage(StepNumber::rangeMessage);
    }
}

void CanvasView::mouseMoveEvent(QMouseEvent* event) {
    const QPointF q = imagePoint(event->position());
    if (m_moving && m_dragOrigin) {
        const std::optional<ImageMark> before = liveMark();
        if (m_handle) {
            m_moved = m_moving;
            m_moved->points[*m_handle] = q;
        } else {
            m_moved = m_moving->translated(q.x() - m_dragOrigin->x(), q.y() - m_dragOrigin->y());
        }
        repaintChange(before, m_moved);
    } else if (m_pending) {
        const std::optional<ImageMark> before = m_pending;
        if (drawsPath(*m_pending)) {
            m_pending->points.append(q);
        } else {
            m_pending->points[1] = q;
            bendCurve(*m_pending);
        }
        repaintChange(before, m_pending);
    }
}

void CanvasView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    if (m_moving) {
        finishMove();
    } else if (m_pending) {
        finishMark(imagePoint(event->position()));
    }
}

void CanvasView::finishMove() {
    // One undo step per completed drag; a click without a drag changes nothing.
    const std::optional<ImageMark> moved = std::exchange(m_moved, std::nullopt);
    m_moving.reset();
    m_dragOrigin.reset();
    m_handle.reset();
    if (moved) {
        m_document.replaceSelected(*moved);
    }
    update();
}

void CanvasView::finishMark(QPointF p) {
    ImageMark mark = *std::exchange(m_pending, std::nullopt);
    update();
    if (!drawsPath(mark)) {
        mark.points[1] = p;
        bendCurve(mark);
    }
    if (mark.tool == DrawingTool::callout) {
        const auto answer = m_document.promptText(QStringLiteral("Add callout"), QString());
        if (!answer) {
            return;
        }
        mark.text = *answer;
        placeCallout(mark);
    }
    const bool drawn = drawsPath(mark)
                           ? mark.points.size() > 2
                           : mark.points.size() >= 2 &&
                                 distance(mark.points.front(), mark.points.back()) > minimumDrag;
    if (drawn) {
        m_document.commit(std::move(mark));
    }
}

void CanvasView::placeCallout(ImageMark& mark) const {
    const QRectF area = m_document.visibleArea();
    const QSizeF bubble = mark.bubbleRect().size();
    QPointF& origin = mark.points[0];
    origin.setX(std::max(std::min(origin.x(), area.right() - bubble.width()), area.left()));
    origin.setY(std::max(std::min(origin.y(), area.bottom() - bubble.height()), area.top()));
}

void CanvasView::cancelDrag() {
    m_pending.reset();
    m_moving.reset();
    m_moved.reset();
    m_dragOrigin.reset();
    m_handle.reset();
    update();
}

std::optional<ImageMark> CanvasView::liveMark() const {
    if (m_moved) {
        return m_moved;
    }
    return m_document.activeMark();
}

QRect CanvasView::viewArea(const std::optional<ImageMark>& mark) const {
    if (!mark || mark->points.isEmpty()) {
        return QRect();
    }
    const QRectF image =
        mark->tool == DrawingTool::crop ? cropFrame(*mark) : CanvasLayers::inkBounds(*mark);
    const double frame = selectionPadding + handleDiameter + 2;
    return imageToView().mapRect(image).adjusted(-frame, -frame, frame, frame).toAlignedRect();
}

void CanvasView::repaintChange(const std::optional<ImageMark>& before,
                               const std::optional<ImageMark>& after) {
    update(viewArea(before).united(viewArea(after)));
}

void CanvasView::paintEvent(QPaintEvent* event) {
    const QVector<ImageMark>& marks = m_document.state().marks;
    const std::optional<int> selected = m_document.selected();
    const bool live = selected && *selected >= 0 && *selected < marks.size();
    const qsizetype split = live ? *selected : marks.size();
    m_layers.prepare(m_document, {m_generation, size(), devicePixelRatioF(), imageToView(), split});

    QPainter painter(this);
    m_layers.paintBelow(painter, event->region());
    const std::optional<ImageMark> mark = live ? liveMark() : std::nullopt;
    if (mark) {
        painter.save();
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        painter.setTransform(imageToView());
        painter.setClipRect(m_document.visibleArea(), Qt::IntersectClip);
        mark->draw(painter);
        painter.restore();
    }
    m_layers.paintAbove(painter, event->region());
    paintOverlay(painter, mark);
}

void CanvasView::paintOverlay(QPainter& painter, const std::optional<ImageMark>& live) const {
    const QTransform transform = imageToView();
    // Frames are one pixel wide and crisp; handles are round.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    if (live) {
        painter.setPen(dashedPen(1, 4, 3));
        const double pad = selectionPadding / m_scale;
        painter.drawRect(transform.mapRect(live->bounds().adjusted(-pad, -pad, pad, pad)));
        if (hasHandles(*live)) {
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(QPen(accent, handleLineWidth));
            painter.setBrush(Qt::white);
            for (const QPointF& point : live->points) {
                painter.drawEllipse(transform.map(point), handleDiameter / 2, handleDiameter / 2);
            }
        }
    }
    if (!m_pending) {
        return;
    }
    if (m_pending->tool == DrawingTool::crop) {
        painter.setPen(dashedPen(1, 6, 4));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(transform.mapRect(cropFrame(*m_pending)));
        return;
    }
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.setTransform(transform);
    painter.setClipRect(m_document.visibleArea(), Qt::IntersectClip);
    m_pending->draw(painter);
}

} // namespace vellumix
