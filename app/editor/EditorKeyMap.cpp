#include "editor/EditorKeyMap.h"

#include "editor/ToolFamily.h"
#include "ui/KeyText.h"

#include <QKeyEvent>

namespace vellumix::EditorKeyMap {

namespace {

constexpr Qt::KeyboardModifiers chordModifiers =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

// `keys` in the app's symbol notation ("⌘S"; "Delete" is the key labelled
// Backspace here); the user reads this system's names.
EditorChord chord(Qt::KeyboardModifiers modifiers, Qt::Key key, EditorCommand command, bool once,
                  const char* keys) {
    return {QKeyCombination(modifiers, key), command, once,
            keytext::shownBinding(QString::fromUtf8(keys))};
}

QVector<EditorChord> makeChords() {
    QVector<EditorChord> all;
    for (const ToolFamily& family : ToolFamily::families()) {
        const auto key = Qt::Key(Qt::Key_A + family.key.toUpper().unicode() - 'A');
        all.append(
            {QKeyCombination(key), EditorCommand::family, true, family.key.toUpper(), &family});
    }
    using C = EditorCommand;
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    const Qt::KeyboardModifiers ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    all.append({
        chord(none, Qt::Key_P, C::pin, true, "P"),
        chord(none, Qt::Key_O, C::recognizeText, true, "O"),
        chord(none, Qt::Key_Backspace, C::deleteSelected, false, "Delete"),
        {QKeyCombination(Qt::Key_Delete), C::deleteSelected, false, QStringLiteral("Delete")},
        chord(none, Qt::Key_Escape, C::escape, false, "Esc"),
        chord(ctrl, Qt::Key_S, C::save, true, "⌘S"),
        chord(ctrlShift, Qt::Key_L, C::scroll, true, "⌘⇧L"),
        chord(ctrl, Qt::Key_C, C::copy, false, "⌘C"),
        chord(ctrl, Qt::Key_Z, C::undo, false, "⌘Z"),
        chord(ctrlShift, Qt::Key_Z, C::redo, false, "⇧⌘Z"),
    });
    return all;
}

} // namespace

const QVector<EditorChord>& chords() {
    static const QVector<EditorChord> all = makeChords();
    return all;
}

std::optional<EditorChord> match(const QKeyEvent& event) {
    const QKeyCombination pressed(event.modifiers() & chordModifiers, Qt::Key(event.key()));
    for (const EditorChord& row : chords()) {
        if (row.keys == pressed) {
            return row;
        }
    }
    return std::nullopt;
}

const EditorChord& chordOf(EditorCommand command) {
    for (const EditorChord& row : chords()) {
        if (row.command == command) {
            return row;
        }
    }
    return chords().front();
}

} // namespace vellumix::EditorKeyMap
