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

} // namespace vellumix::keytext
