#pragma once

#include "editor/CompactToolbar.h"
#include "ui/HintDismissal.h"

#include <QWidget>

#include <memory>

class QComboBox;
class QLabel;
class QScrollArea;

namespace vellumix {

class CanvasView;
class EditorKeyHandler;

// The editor's content: the toolbar, a header line (title, size of the
// visible picture, the document's message, zoom and pin) and the canvas in a
// scroll area. At "Fit width" the picture fills the width available, never
// past one point per image pixel; the zoom multiplies that. While it exists,
// the editor's keys work in its window.
class ScreenshotEditor final : public QWidget {
    Q_OBJECT
public:
    ScreenshotEditor(EditorDocument& document, EditorServices services, EditorActions actions,
                     QWidget* parent = nullptr);
    ~ScreenshotEditor() override;

    CompactToolbar* toolbar() const { return m_toolbar; }
    CanvasView* canvas() const { return m_canvas; }
    QComboBox* zoomPicker() const { return m_zoom; }
    QLabel* sizeLabel() const { return m_size; }
    QLabel* messageLabel() const { return m_message; }

    // View points per image pixel for a picture `visibleWidth` pixels wide
    // in `availableWidth` points at `zoom`.
    static double canvasScale(double availableWidth, double visibleWidth, double zoom);

    static constexpr int canvasPadding = 40;
    static constexpr int canvasBorder = 1;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* makeHeader();
    void fit();

    EditorDocument& m_document;
    HintDismissal m_hints;
    CompactToolbar* m_toolbar;
    CanvasView* m_canvas = nullptr;
    QScrollArea* m_scroll = nullptr;
    QComboBox* m_zoom = nullptr;
    QLabel* m_size = nullptr;
    QLabel* m_message = nullptr;
    std::unique_ptr<EditorKeyHandler> m_keys;
};

} // namespace vellumix
