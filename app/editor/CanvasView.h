#pragma once

#include "editor/CanvasLayers.h"
#include "marks/ImageMark.h"

#include <QWidget>

#include <optional>

namespace vellumix {

class EditorDocument;

// The editor's drawing surface: shows the document's picture at `scale` view
// points per image pixel and turns mouse and key events into document
// operations. A press on empty canvas starts a mark of the current tool (text
// and step marks are placed on the press), a press on a mark selects it and
// a drag moves it, a drag on a callout's or curved arrow's point reshapes it,
// Alt-press always starts a new mark, a double click edits a mark's text.
// Keys are the editor's key handler's, which may cancel a drag.
class CanvasView final : public QWidget {
    Q_OBJECT
public:
    explicit CanvasView(EditorDocument& document, QWidget* parent = nullptr);

    double scale() const { return m_scale; }
    void setScale(double scale);
    QSize sizeHint() const override;
    // The image pixel under a view position, kept inside the visible area.
    QPointF imagePoint(QPointF view) const;
    // A mark being drawn, moved or reshaped with the mouse button held.
    bool dragging() const { return m_pending || m_moving; }
    // Drops the drag in progress; the document stays as before it began.
    void cancelDrag();

    // Reach of a press around a mark and around a handle, in view points.
    static constexpr double hitTolerance = 6;
    static constexpr double handleReach = 10;
    // A drawn mark shorter than this many image pixels is a click, not a mark.
    static constexpr double minimumDrag = 2;
    static inline const QColor accent = QColor(0, 122, 255);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void press(QMouseEvent* event, int clickCount);
    bool grabHandle(QPointF p);
    bool grabMark(QPointF p, int clickCount);
    void startMark(QPointF p);
    void addStep(QPointF p);
    void finishMove();
    void finishMark(QPointF p);
    void placeCallout(ImageMark& mark) const;
    ImageMark newMark(DrawingTool tool, QVector<QPointF> points, const QString& text) const;

    QTransform imageToView() const;
    // The mark drawn live: the moved copy during a drag, else the selected mark.
    std::optional<ImageMark> liveMark() const;
    // View area a mark and its selection frame and handles cover.
    QRect viewArea(const std::optional<ImageMark>& mark) const;
    void repaintChange(const std::optional<ImageMark>& before,
                       const std::optional<ImageMark>& after);
    void fitSize();
    void paintOverlay(QPainter& painter, const std::optional<ImageMark>& live) const;

    EditorDocument& m_document;
    double m_scale = 1;
    std::optional<ImageMark> m_pending;
    std::optional<ImageMark> m_moving;
    std::optional<QPointF> m_dragOrigin;
    std::optional<ImageMark> m_moved;
    std::optional<int> m_handle;
    quint64 m_generation = 0;
    CanvasLayers m_layers;
};

} // namespace vellumix
