#pragma once

#include "selection/FrozenDisplay.h"
#include "selection/OverlayLayout.h"
#include "selection/WindowCandidate.h"

#include <QSet>
#include <QWidget>

#include <functional>
#include <optional>

namespace vellumix {

// The overlay of one display, shown in its SelectionWindow: its frozen
// picture dimmed, where the user drags a region, clicks or Shift-clicks
// windows and presses keys. Coordinates are the display's own points,
// top-left origin. The view only reports choices; its controller turns them
// into an outcome.
class SelectionView final : public QWidget {
public:
    // Installed by the controller.
    struct Hooks {
        // A region with whether it allows scrolling capture, or none to cancel.
        std::function<void(std::optional<QRectF>, bool)> finished;
        std::function<void(const QString& hex)> colorPicked;
        std::function<void(const QList<WindowCandidate>&)> windowsPicked;
        // Whether this view may start or change a multi-window choice.
        std::function<bool()> toggleAllowed;
        // The pointer came over this view: keys are meant for it from now on.
        std::function<void(SelectionView*)> pointerEntered;
        // A key reached this view; the controller hands it to the view under
        // the pointer.
        std::function<void(QKeyEvent*)> keyPressed;
        // V: between capturing and recording what is chosen next.
        std::function<void()> recordToggled;
    };

    SelectionView(FrozenDisplay frozen, QList<WindowCandidate> candidates, QPointF pointer);

    void setHooks(Hooks hooks) { m_hooks = std::move(hooks); }
    void setLastRegion(std::optional<QRectF> region, bool allowsScroll);
    // Acts on a key meant for this view.
    void handleKey(QKeyEvent* event);
    // The note above the hints; empty for the usual one.
    void setNote(const QString& note);

    const FrozenDisplay& frozen() const { return m_frozen; }
    const QList<WindowCandidate>& candidates() const { return m_candidates; }
    const QString& note() const { return m_note; }
    std::optional<QRectF> selection() const { return m_selection; }
    const QSet<quint32>& chosen() const { return m_chosen; }
    // The window under the pointer that a click would take.
    std::optional<WindowCandidate> hovered() const;

    // A press that moves farther than this (points) starts a drag.
    static constexpr double dragThreshold = 4;
    static constexpr double minimumSide = 80;
    static constexpr int maximumWindows = 8;
    static inline const QString withinOneDisplay = QStringLiteral("Select within one display.");
    static inline const QString tooSmall = QStringLiteral("Select at least 80 × 80 points.");
    static inline const QString noLastRegion =
        QStringLiteral("No valid previous region on this display. Drag to select one.");
    static inline const QString sameDisplay =
        QStringLiteral("Choose multiple windows on the same display.");
    static inline const QString tooManyWindows =
        QStringLiteral("Capture up to 8 windows at a time.");
    // Follows the number of chosen windows.
    static inline const QString chosenCount = QStringLiteral(
        " windows selected · Shift-click or Shift-Space to toggle · Enter to capture");
    static inline const QColor highlightColor = QColor(0, 122, 255);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Tab must reach the keys, not move the focus.
    bool focusNextPrevChild(bool) override { return false; }

private:
    struct KeyAction {
        int key;
        bool needsShift;
        void (SelectionView::*act)();
    };
    static const KeyAction keyActions[];

    QList<const WindowCandidate*> hits() const;
    OverlayLayout layout() const;
    QRectF bounds() const { return QRectF(rect()); }
    void pointerMoved(QPointF position);
    void endDrag();
    void toggle(const WindowCandidate& window);
    void toggleRecording();
    // Repaints what the last change of state changed.
    void refresh();
    void paintHighlight(QPainter& painter, const QRectF& highlight, const QRegion& dirty);

    void confirmChosen();
    void cycleOverlap();
    void toggleHovered();
    void cancel();
    void takeDisplay();
    void pickColor();
    void reselectLast();

    FrozenDisplay m_frozen;
    QList<WindowCandidate> m_candidates; // front-most first
    Hooks m_hooks;
    QPointF m_pointer;
    bool m_pointerInside = false;
    std::optional<QPointF> m_start;
    std::optional<QRectF> m_selection;
    QSet<quint32> m_chosen;
    QString m_note;
    int m_overlapIndex = 0;
    std::optional<QRectF> m_lastRegion;
    bool m_lastRegionAllowsScroll = true;
    OverlayLayout m_shownLayout;
};

} // namespace vellumix
