#pragma once

#include <QKeyCombination>
#include <QString>
#include <QVector>

#include <optional>

class QKeyEvent;

namespace vellumix {

struct ToolFamily;

// What an editor key does. The editor's key handler is the one owner of every
// chord below while an editor window is active: the application's menus show
// these chords and trigger the same commands, and never register them as
// shortcuts of their own.
enum class EditorCommand {
    family, // switch to the family's tool, or open its options
    pin,
    recognizeText,
    deleteSelected,
    escape, // close the popover, else clear the selection, else cancel
    save,   // in the current format
    scroll,
    copy,
    undo,
    redo,
};

struct EditorChord {
    QKeyCombination keys;
    EditorCommand command;
    // Auto-repeated presses are consumed without effect.
    bool once;
    // The key as the user reads it ("Ctrl+S", "Backspace").
    QString shown;
    // For EditorCommand::family.
    const ToolFamily* family = nullptr;
};

namespace EditorKeyMap {

// Every chord of the editor, the family keys in toolbar order first.
const QVector<EditorChord>& chords();

// The chord a key press means: Shift, Ctrl, Alt and Meta must match exactly;
// the key is read without its modifiers.
std::optional<EditorChord> match(const QKeyEvent& event);

// The first chord of a command, or of a family's key, for menus and hints.
const EditorChord& chordOf(EditorCommand command);
const EditorChord& chordOf(const ToolFamily& family);

// A control's hint: "Save image · Ctrl+S".
QString hint(const QString& label, EditorCommand command);

} // namespace EditorKeyMap
} // namespace vellumix
