#pragma once

#include <QWidget>

class QComboBox;
class QLabel;

namespace vellumix {

class GlobalCaptureShortcut;

// The "Keyboard Shortcuts" window: the capture hot key's pickers, its last
// problem, and the editor's fixed key bindings for reference. The pickers
// always show the hot key that works, so a refused choice snaps back.
class ShortcutSettings final : public QWidget {
    Q_OBJECT
public:
    // One line of the editor's bindings: the keys, from the editor's key
    // map, and what they do.
    struct Binding {
        QString keys;
        QString action;
    };
    static QList<Binding> editorBindings();
    // Taller while it shows the desktop's own steps.
    static constexpr QSize windowSize{460, 590};

    explicit ShortcutSettings(GlobalCaptureShortcut& shortcut);

    QComboBox* modifierPicker() const { return m_modifiers; }
    QComboBox* keyPicker() const { return m_keys; }
    QLabel* errorLabel() const { return m_error; }
    QLabel* desktopStepsLabel() const { return m_desktopSteps; }

private:
    QLayout* pickerRow();
    QLayout* bindingRows();
    void refresh();

    GlobalCaptureShortcut& m_shortcut;
    QComboBox* m_modifiers;
    QComboBox* m_keys;
    QLabel* m_error;
    QLabel* m_desktopSteps;
};

} // namespace vellumix
