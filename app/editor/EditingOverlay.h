#pragma once

#include "capture/CaptureRegion.h"
#include "editor/CompactToolbar.h"
#include "ui/HintDismissal.h"

#include <QWidget>

#include <memory>

class QFrame;
class QLabel;
class QScrollArea;

namespace vellumix {

class CanvasView;
class EditorKeyHandler;

// The window of the in-place editor: covers one screen and shows the
// document's picture exactly where it was captured, one device pixel per
// image pixel, with the pin and expand buttons, the toolbar and the failure
// caption around it. With a compositor the rest of the screen is dimmed;
// without one the window is cut down to its parts, so that clicks elsewhere
// reach the windows beneath. With a `backdrop` (the display as it was,
// dimmed) the window shows that instead, where the desktop cannot show
// itself beneath.
class EditingOverlay final : public QWidget {
    Q_OBJECT
public:
    EditingOverlay(EditorDocument& document, const CaptureRegion& region, QScreen* screen,
                   EditorServices services, EditorActions actions, QImage backdrop = {});
    ~EditingOverlay() override;

    CompactToolbar* toolbar() const { return m_toolbar; }
    CanvasView* canvas() const { return m_canvas; }
    QLabel* caption() const { return m_caption; }
    QWidget* buttons() const { return m_buttons; }
    // V: where the visible picture shows, in the window's points.
    QRectF viewport() const { return m_viewport; }
    bool dims() const { return m_dims; }
    // Input beside the editor's parts is the editor's too, not the desktop's.
    bool takesAllInput() const { return m_dims || !m_backdrop.isNull(); }

    static constexpr double strokeWidth = 1.5;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* makeButtons(std::function<void()> expand);
    void layOut();
    void showMessage(const QString& message);

    EditorDocument& m_document;
    CaptureRegion m_region;
    QImage m_backdrop;
    bool m_dims;
    QRectF m_viewport;
    QScrollArea* m_scroll = nullptr;
    CanvasView* m_canvas = nullptr;
    CompactToolbar* m_toolbar = nullptr;
    QWidget* m_buttons = nullptr;
    QLabel* m_caption = nullptr;
    HintDismissal m_hints;
    std::unique_ptr<EditorKeyHandler> m_keys;
};

} // namespace vellumix
