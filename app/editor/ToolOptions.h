#pragma once

#include "marks/DrawingTool.h"

#include <QColor>
#include <QFrame>

#include <array>

class QLayout;
class QAbstractButton;

namespace vellumix {

class Defaults;
class EditorDocument;
struct ToolFamily;

// The options popover of a tool family: its variants, the colour swatches,
// the font size or the stroke width, the corner style and the selected
// mark's text and delete buttons, as far as they apply to the active tool
// (the selected mark's, else the document's). A Qt::Popup: it closes on a
// click elsewhere and on Escape. It rebuilds itself whenever the document
// changes, so the highlighted choices always show the current style.
class ToolOptions final : public QFrame {
    Q_OBJECT
public:
    ToolOptions(EditorDocument& document, Defaults& defaults, const ToolFamily& family,
                QWidget* parent);

    const ToolFamily& family() const { return m_family; }

    static constexpr int width = 238;
    static constexpr int padding = 14;
    static constexpr int swatchSide = 23;
    static constexpr std::array<double, 5> fontSizes = {16, 20, 24, 32, 48};
    static constexpr std::array<double, 2> cornerRadii = {0, 10};
    static const std::array<QColor, 5> swatches;

    // The sizes the font size picker offers for the current state.
    QVector<double> offeredFontSizes() const;
    // The selected mark's font size, else the document's.
    double currentFontSize() const;

signals:
    void closed();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void rebuild();
    DrawingTool activeTool() const;
    void addVariants(QLayout* layout);
    void addSwatches(QLayout* layout);
    void addFontSizes(QLayout* layout);
    void addWidths(QLayout* layout, DrawingTool tool);
    void addCorners(QLayout* layout);
    void addMarkActions(QLayout* layout, DrawingTool tool);
    QAbstractButton* addButton(QLayout* layout, const QString& symbol, const QString& hint,
                               const QString& name, bool checked);

    EditorDocument& m_document;
    Defaults& m_defaults;
    const ToolFamily& m_family;
    QWidget* m_content = nullptr;
};

} // namespace vellumix
