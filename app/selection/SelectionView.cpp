#include "selection/SelectionView.h"

#include "imaging/CaptureSelectionImage.h"
#include "selection/HintPanel.h"
#include "selection/RegionOutcome.h"

#include <QKeyEvent>
#include <QLineF>
#include <QPainter>

#include <cmath>

namespace vellumix {

namespace {

QRectF inPixels(const QRectF& points, double scale) {
    return QRectF(points.topLeft() * scale, points.size() * scale);
}

// Calls a copy: the controller may replace the hooks while one runs.
template <typename Hook, typename... Args> void call(const Hook& hook, Args&&... args) {
    if (hook) {
        const Hook running = hook;
        running(std::forward<Args>(args)...);
    }
}

} // namespace

const SelectionView::KeyAction SelectionView::keyActions[] = {
    {Qt::Key_Return, false, &SelectionView::confirmChosen},
    {Qt::Key_Enter, false, &SelectionView::confirmChosen},
    {Qt::Key_Tab, false, &SelectionView::cycleOverlap},
    // Shift+Tab arrives as its own key.
    {Qt::Key_Backtab, false, &SelectionView::cycleOverlap},
    {Qt::Key_Space, true, &SelectionView::toggleHovered},
    {Qt::Key_Escape, false, &SelectionView::cancel},
    {Qt::Key_F, false, &SelectionView::takeDisplay},
    {Qt::Key_C, false, &SelectionView::pickColor},
    {Qt::Key_R, false, &SelectionView::reselectLast},
    {Qt::Key_V, false, &SelectionView::toggleRecording},
};

SelectionView::SelectionView(FrozenDisplay frozen, QList<WindowCandidate> candidates,
                             QPointF pointer)
    : m_frozen(std::move(frozen)), m_candidates(std::move(candidates)) {
    // Every pixel is painted from the frozen picture: nothing to clear first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
    setFocusPolicy(Qt::StrongFocus);
    resize(m_frozen.display.frame.size().toSize());
    m_pointer = pointer;
    m_pointerInside = bounds().contains(pointer);
    m_shownLayout = layout();
}

void SelectionView::setLastRegion(std::optional<QRectF> region, bool allowsScroll) {
    m_lastRegion = region;
    m_lastRegionAllowsScroll = allowsScroll;
    update(hintpanel::panelRect(bounds().size()).toAlignedRect());
}

QList<const WindowCandidate*> SelectionView::hits() const {
    QList<const WindowCandidate*> result;
    if (!m_pointerInside) {
        return result;
    }
    for (const WindowCandidate& candidate : m_candidates) {
        if (candidate.rect.contains(m_pointer)) {
            result.append(&candidate);
        }
    }
    return result;
}

std::optional<WindowCandidate> SelectionView::hovered() const {
    const QList<const WindowCandidate*> under = hits();
    if (under.isEmpty()) {
        return std::nullopt;
    }
    return *under[m_overlapIndex % under.size()];
}

OverlayLayout SelectionView::layout() const {
    OverlayLayout layout;
    for (const WindowCandidate& candidate : m_candidates) {
        if (m_chosen.contains(candidate.window.id)) {
            layout.highlights.append(candidate.rect);
        }
    }
    const std::optional<WindowCandidate> window = hovered();
    if (m_selection) {
        layout.highlights.append(*m_selection);
    } else if (window) {
        if (m_chosen.isEmpty()) {
            layout.highlights.append(window->rect);
        }
        layout.label = window->name();
    }
    if (m_pointerInside) {
        layout.loupe =
            Loupe::at(m_pointer, bounds().size(), hintpanel::panelRect(bounds().size()).y(),
                      m_frozen.image, m_frozen.display.scale);
    }
    return layout;
}

void SelectionView::refresh() {
    OverlayLayout next = layout();
    const QRegion change = changedArea(m_shownLayout, next, bounds().size());
    m_shownLayout = std::move(next);
    if (!change.isEmpty()) {
        update(change);
    }
}

void SelectionView::toggleRecording() {
    call(m_hooks.recordToggled);
}

void SelectionView::setNote(const QString& note) {
    const QSizeF size = bounds().size();
    update(hintpanel::noteRect(size, m_note.isEmpty()).toAlignedRect());
    update(hintpanel::noteRect(size, note.isEmpty()).toAlignedRect());
    m_note = note;
}

void SelectionView::paintEvent(QPaintEvent* event) {
    const QRegion& dirty = event->region();
    const double scale = m_frozen.display.scale;
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect& rect : dirty) {
        painter.drawImage(QRectF(rect), m_frozen.dimmed, inPixels(QRectF(rect), scale));
    }
    for (const QRectF& highlight : m_shownLayout.highlights) {
        paintHighlight(painter, highlight, dirty);
    }
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setRenderHint(QPainter::Antialiasing);
    const QSizeF size = bounds().size();
    if (dirty.intersects(hintpanel::panelRect(size).toAlignedRect())) {
        hintpanel::paintPanel(painter, size, m_lastRegion.has_value());
    }
    if (dirty.intersects(hintpanel::noteRect(size, m_note.isEmpty()).toAlignedRect())) {
        hintpanel::paintNote(painter, size, m_note);
    }
    if (m_shownLayout.label && dirty.intersects(hintpanel::labelRect(size).toAlignedRect())) {
        hintpanel::paintLabel(painter, size, *m_shownLayout.label);
    }
    if (m_shownLayout.loupe && dirty.intersects(m_shownLayout.loupe->box.toAlignedRect())) {
        m_shownLayout.loupe->paint(painter, m_frozen.image);
    }
}

void SelectionView::paintHighlight(QPainter& painter, const QRectF& highlight,
                                   const QRegion& dirty) {
    if (!dirty.intersects(highlight.toAlignedRect())) {
        return;
    }
    const double scale = m_frozen.display.scale;
    for (const QRect& rect : dirty) {
        const QRectF common = highlight.intersected(QRectF(rect));
        if (!common.isEmpty()) {
            painter.drawImage(common, m_frozen.image, inPixels(common, scale));
        }
    }
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(highlightColor, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(highlight.adjusted(1, 1, -1, -1));
    painter.restore();
}

void SelectionView::pointerMoved(QPointF position) {
    // Qt sends a move before a press where it last saw the pointer elsewhere;
    // only a real move brings back the front-most window.
    if (position != m_pointer) {
        m_overlapIndex = 0;
    }
    m_pointer = position;
    m_pointerInside = bounds().contains(position);
    refresh();
}

void SelectionView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    m_pointer = event->position();
    m_start = m_pointer;
    m_selection.reset();
    refresh();
}

void SelectionView::mouseMoveEvent(QMouseEvent* event) {
    if (!m_start) {
        pointerMoved(event->position());
        return;
    }
    m_pointer = event->position();
    m_pointerInside = bounds().contains(m_pointer);
    if (QLineF(*m_start, m_pointer).length() > dragThreshold) {
        m_chosen.clear();
        const QRectF spanned = QRectF(*m_start, m_pointer).normalized().intersected(bounds());
        m_selection = QRectF(integralRect(spanned));
    }
    refresh();
}

void SelectionView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_start) {
        return;
    }
    m_pointer = event->position();
    m_pointerInside = bounds().contains(m_pointer);
    m_start.reset();
    if (m_selection) {
        endDrag();
    } else if (const std::optional<WindowCandidate> window = hovered()) {
        if (event->modifiers() & Qt::ShiftModifier) {
            toggle(*window);
        } else {
            call(m_hooks.windowsPicked, QList<WindowCandidate>{*window});
            return;
        }
    }
    refresh();
}

void SelectionView::endDrag() {
    if (!m_pointerInside) {
        setNote(withinOneDisplay);
        m_selection.reset();
    } else if (m_selection->width() < minimumSide || m_selection->height() < minimumSide) {
        setNote(tooSmall);
    } else {
        call(m_hooks.finished, m_selection, true);
    }
}

void SelectionView::enterEvent(QEnterEvent* event) {
    call(m_hooks.pointerEntered, this);
    pointerMoved(event->position());
}

void SelectionView::leaveEvent(QEvent*) {
    // Hover and loupe belong to the display the pointer is on.
    if (!m_start) {
        m_pointerInside = false;
        refresh();
    }
}

void SelectionView::wheelEvent(QWheelEvent* event) {
    pointerMoved(event->position());
}

void SelectionView::toggle(const WindowCandidate& window) {
    if (m_hooks.toggleAllowed && !m_hooks.toggleAllowed()) {
        setNote(sameDisplay);
        return;
    }
    const quint32 id = window.window.id;
    if (!m_chosen.contains(id) && m_chosen.size() >= maximumWindows) {
        setNote(tooManyWindows);
        return;
    }
    if (!m_chosen.remove(id)) {
        m_chosen.insert(id);
    }
    setNote(QString::number(m_chosen.size()) + chosenCount);
    refresh();
}

void SelectionView::keyPressEvent(QKeyEvent* event) {
    if (m_hooks.keyPressed) {
        call(m_hooks.keyPressed, event);
    } else {
        handleKey(event);
    }
}

void SelectionView::handleKey(QKeyEvent* event) {
    if (event->isAutoRepeat() || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        return;
    }
    for (const KeyAction& action : keyActions) {
        if (action.key == event->key()) {
            if (!action.needsShift || (event->modifiers() & Qt::ShiftModifier)) {
                (this->*action.act)();
            }
            return;
        }
    }
}

void SelectionView::confirmChosen() {
    if (m_chosen.isEmpty()) {
        return;
    }
    QList<WindowCandidate> windows;
    for (const WindowCandidate& candidate : m_candidates) {
        if (m_chosen.contains(candidate.window.id)) {
            windows.append(candidate);
        }
    }
    call(m_hooks.windowsPicked, windows);
}

void SelectionView::cycleOverlap() {
    ++m_overlapIndex;
    refresh();
}

void SelectionView::toggleHovered() {
    if (const std::optional<WindowCandidate> window = hovered()) {
        toggle(*window);
    }
}

void SelectionView::cancel() {
    call(m_hooks.finished, std::nullopt, false);
}

void SelectionView::takeDisplay() {
    call(m_hooks.finished, bounds(), false);
}

void SelectionView::pickColor() {
    const double scale = m_frozen.display.scale;
    const std::optional<QString> hex =
        CaptureSelectionImage::hex(m_frozen.image, int(std::floor(m_pointer.x() * scale)),
                                   int(std::floor(m_pointer.y() * scale)));
    if (hex) {
        call(m_hooks.colorPicked, *hex);
    }
}

void SelectionView::reselectLast() {
    if (m_lastRegion) {
        call(m_hooks.finished, m_lastRegion, m_lastRegionAllowsScroll);
        return;
    }
    setNote(noLastRegion);
}

} // namespace vellumix
