#pragma once

#include <QString>

// Stored preference strings and the app's fixed texts write keys with the
// symbols ⌘ ⌃ ⌥ ⇧. On Linux the user reads key names instead: ⌘ and ⌃ are
// Ctrl, ⌥ is Alt, ⇧ is Shift, and a chord always names its modifiers in the
// order Ctrl+Alt+Shift, then its key. Every view that shows keys uses this.
namespace vellumix::keytext {

// Rewrites every chord in `text`: "Undo ⌘Z" → "Undo Ctrl+Z", "Redo ⇧⌘Z" →
// "Redo Ctrl+Shift+Z", "⌃ ⌥" → "Ctrl+Alt", "⌥-drag" → "Alt-drag". Text
// without symbols is returned unchanged.
QString shown(const QString& text);

// A key column of a bindings list: as `shown`, and the word "Delete" (the
// key left of the backspace position on the original keyboards) reads
// "Backspace", the label of that key here.
QString shownBinding(const QString& keys);

} // namespace vellumix::keytext
