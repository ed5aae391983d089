#include "editor/EditorKeyMap.h"

#include "editor/ToolFamily.h"
#include "ui/KeyText.h"

#include <QKeyEvent>

namespace vellumix::EditorKeyMap {

namespace {

constexpr Qt::KeyboardModifiers chordModifiers =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

using C = EditorCommand;
constexpr Qt::KeyboardModifiers none = Qt::NoModifier;
constexpr Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;

// `keys` in the app's symbol notation ("⌘S"), which the user reads with this
// system's names. The family keys come first, in toolbar order.
constexpr struct {
    Qt::KeyboardModifiers modifiers;
    Qt::Key key;
    EditorCommand command;
    bool once;
    const char* keys;
    const char* family = nullptr;
} rows[] = {
    {none, Qt::Key_R, C::family, true, "R", "Shapes"},
    {none, Qt::Key_A, C::family, true, "A", "Arrows & lines"},
    {none, Qt::Key_T, C::family, true, "T", "Text"},
    {none, Qt::Key_B, C::family, true, "B", "Pen"},
    {none, Qt::Key_N, C::family, true, "N", "Steps"},
    {none, Qt::Key_H, C::family, true, "H", "Highlight"},
    {none, Qt::Key_M, C::family, true, "M", "Redact"},
    {none, Qt::Key_C, C::family, true, "C", "Crop"},
    {none, Qt::Key_P, C::pin, true, "P"},
    {none, Qt::Key_O, C::recognizeText, true, "O"},
    {none, Qt::Key_Backspace, C::deleteSelected, false, "Backspace"},
    {none, Qt::Key_Delete, C::deleteSelected, false, "Delete"},
    {none, Qt::Key_Escape, C::escape, false, "Esc"},
    {ctrl, Qt::Key_S, C::save, true, "⌘S"},
    {ctrlShift, Qt::Key_L, C::scroll, true, "⌘⇧L"},
    {ctrl, Qt::Key_C, C::copy, false, "⌘C"},
    {ctrl, Qt::Key_Z, C::undo, false, "⌘Z"},
    {ctrlShift, Qt::Key_Z, C::redo, false, "⇧⌘Z"},
};

QVector<EditorChord> makeChords() {
    QVector<EditorChord> all;
    for (const auto& row : rows) {
        const ToolFamily* family =
            row.family != nullptr ? ToolFamily::withId(QString::fromUtf8(row.family)) : nullptr;
        all.append({QKeyCombination(row.modifiers, row.key), row.command, row.once,
                    keytext::shown(QString::fromUtf8(row.keys)), family});
    }
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

const EditorChord& chordOf(const ToolFamily& family) {
    for (const EditorChord& row : chords()) {
        if (row.family == &family) {
            return row;
        }
    }
    return chords().front();
}

QString hint(const QString& label, EditorCommand command) {
    return label + QStringLiteral(" · ") + chordOf(command).shown;
}

} // namespace vellumix::EditorKeyMap
