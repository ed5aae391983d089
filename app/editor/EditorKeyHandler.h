#pragma once

#include "editor/EditorKeyMap.h"

#include <QObject>
#include <QPointer>

#include <functional>

class QKeyEvent;
class QWidget;

namespace vellumix {

// The editor's keys, app-wide: while it exists, key presses meant for the
// editor's window (or a popover opened from it) reach `handle` before any
// widget or shortcut sees them. A chord of the editor's key map is claimed at
// ShortcutOverride, so no menu shortcut steals it. Keys pass on untouched
// while a modal window runs, while another popup (a menu) is open and while
// a text field has the focus. When `handle` consumes a key, hint bubbles are
// dismissed.
class EditorKeyHandler final : public QObject {
public:
    // `handle` answers whether it consumed the chord; `autoRepeat` tells a
    // held key's repeats.
    using Handle = std::function<bool(const EditorChord& chord, bool autoRepeat)>;

    EditorKeyHandler(QWidget* editor, Handle handle, QObject* parent = nullptr);
    ~EditorKeyHandler() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool appliesTo(QObject* target) const;

    QPointer<QWidget> m_editor;
    Handle m_handle;
};

} // namespace vellumix
