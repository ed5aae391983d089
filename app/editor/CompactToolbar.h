#pragma once

#include "editor/EditorActions.h"
#include "editor/EditorDocument.h"
#include "editor/EditorKeyMap.h"
#include "editor/TextRecognitionPanel.h"
#include "editor/ToolOptions.h"

#include <QFrame>
#include <QPointer>

#include <optional>

class QAbstractButton;
class QToolButton;

namespace vellumix {

class HintDismissal;
struct ToolFamily;

// The editor's compact toolbar: one button per tool family, text
// recognition, undo and redo, scrolling capture, save with its format menu,
// copy and cancel. It owns the family options popover and the recognition
// panel (at most one of each open) and carries out the editor's keys. Its
// hints go with the window's `hints`, which outlives it.
class CompactToolbar final : public QFrame {
    Q_OBJECT
public:
    CompactToolbar(EditorDocument& document, EditorServices services, EditorActions actions,
                   HintDismissal& hints, QWidget* parent = nullptr);
    ~CompactToolbar() override;

    // The id of the family whose options popover is open.
    std::optional<QString> expanded() const;
    bool recognizingText() const { return m_panel != nullptr && m_panel->isVisible(); }
    ToolOptions* options() const { return m_options; }
    TextRecognitionPanel* recognitionPanel() const { return m_panel; }
    // A button by its accessible name ("Shapes", "Undo", "Copy image"...).
    QAbstractButton* button(const QString& name) const;

    // A family button's click: the family becomes active, then its options
    // open (Crop has none: any popover closes).
    void activateFamily(const ToolFamily& family);
    void openRecognition();
    void closePopovers();

    // Carries out one editor key; false when the key should reach the
    // recognition panel instead, which is open.
    bool handleKey(const EditorChord& chord, bool autoRepeat);

    // What the recognition panel runs; tests put a fake here.
    TextRecognitionPanel::Recognizer recognizer = TextRecognitionPanel::engine;

    static constexpr int buttonHeight = 38;
    static constexpr int padding = 8;
    static constexpr int spacing = 4;
    static constexpr int cornerRadius = 15;

private:
    QToolButton* addButton(const QString& symbol, const QString& name, const QString& hint);
    void addFamilyButtons();
    void addSaveButton();
    void refresh();
    void run(const EditorChord& chord);
    void keyFamily(const ToolFamily& family);
    void openOptions(const ToolFamily& family);
    void escape();
    void saveAs(const QString& format);
    DrawingTool activeTool() const;

    EditorDocument& m_document;
    EditorServices m_services;
    EditorActions m_actions;
    HintDismissal& m_hints;
    QPointer<ToolOptions> m_options;
    QPointer<TextRecognitionPanel> m_panel;
    QVector<QToolButton*> m_familyButtons;
    QToolButton* m_recognize = nullptr;
    QToolButton* m_undo = nullptr;
    QToolButton* m_redo = nullptr;
    QToolButton* m_scroll = nullptr;
};

} // namespace vellumix
