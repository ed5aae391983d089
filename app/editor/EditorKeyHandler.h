#pragma once

#include "editor/EditorKeyMap.h"

#include <QObject>
#include <QPointer>

class QWidget;

namespace vellumix {

class CanvasView;
class CompactToolbar;
class HintDismissal;

// The editor's keys, app-wide: while it exists, key presses meant for the
// editor's window (or a popover opened from it) reach the toolbar's commands
// before any widget or shortcut sees them. A chord of the editor's key map is
// claimed at ShortcutOverride, so no menu shortcut steals it. Keys pass on
// untouched while a modal window runs, while another popup (a menu) is open
// and while a text field has the focus. While a mouse button is held, Escape
// cancels the canvas's drag, if any, and every other key is held back, so
// that nothing ends or changes the editor under the mouse. A consumed key dismisses the
// window's hint bubbles. The widgets and `hints` outlive the handler.
class EditorKeyHandler final : public QObject {
public:
    EditorKeyHandler(QWidget* editor, CompactToolbar& toolbar, CanvasView& canvas,
                     HintDismissal& hints, QObject* parent = nullptr);
    ~EditorKeyHandler() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool appliesTo(QObject* target) const;
    bool handle(const EditorChord& chord, bool autoRepeat);

    QPointer<QWidget> m_editor;
    CompactToolbar& m_toolbar;
    CanvasView& m_canvas;
    HintDismissal& m_hints;
};

} // namespace vellumix
