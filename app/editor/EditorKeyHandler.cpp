#include "editor/EditorKeyHandler.h"

#include "editor/CanvasView.h"
#include "editor/CompactToolbar.h"
#include "ui/HintDismissal.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace vellumix {

namespace {

bool typesText(const QWidget* widget) {
    if (const auto* text = qobject_cast<const QTextEdit*>(widget)) {
        return !text->isReadOnly();
    }
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(widget)) {
        return !plain->isReadOnly();
    }
    return qobject_cast<const QLineEdit*>(widget) != nullptr ||
           qobject_cast<const QAbstractSpinBox*>(widget) != nullptr;
}

// Whether `window` is the editor's own window or a popup opened from it.
bool belongsTo(const QWidget* window, const QWidget* editor) {
    for (const QWidget* w = window; w != nullptr; w = w->parentWidget()) {
        if (w->window() == editor->window()) {
            return w == window || (window->windowFlags() & Qt::Popup) == Qt::Popup;
        }
    }
    return false;
}

} // namespace

EditorKeyHandler::EditorKeyHandler(QWidget* editor, CompactToolbar& toolbar, CanvasView& canvas,
                                   HintDismissal& hints, QObject* parent)
    : QObject(parent), m_editor(editor), m_toolbar(toolbar), m_canvas(canvas), m_hints(hints) {
    qApp->installEventFilter(this);
}

EditorKeyHandler::~EditorKeyHandler() {
    qApp->removeEventFilter(this);
}

bool EditorKeyHandler::appliesTo(QObject* target) const {
    const auto* widget = qobject_cast<QWidget*>(target);
    if (m_editor == nullptr || widget == nullptr || QApplication::activeModalWidget() != nullptr) {
        return false;
    }
    const QWidget* window = widget->window();
    // An open menu of the window's menu bar takes the keys (Escape closes
    // it); the editor's own popovers pass them on to the editor.
    const QWidget* popup = QApplication::activePopupWidget();
    if (popup != nullptr && (popup != window || qobject_cast<const QMenu*>(popup) != nullptr)) {
        return false;
    }
    const QWidget* focus = QApplication::focusWidget();
    return belongsTo(window, m_editor) && !typesText(focus) && !typesText(widget);
}

bool EditorKeyHandler::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type != QEvent::ShortcutOverride && type != QEvent::KeyPress) || !appliesTo(watched)) {
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    const std::optional<EditorChord> chord = EditorKeyMap::match(*key);
    if (!chord) {
        return false;
    }
    if (type == QEvent::ShortcutOverride) {
        // Claimed here, the chord comes back as a key press instead of
        // triggering a shortcut.
        key->accept();
        return true;
    }
    if (!handle(*chord, key->isAutoRepeat())) {
        return false;
    }
    // Accepted, or Qt offers the press to every parent widget in turn.
    key->accept();
    m_hints.dismissAll();
    return true;
}

bool EditorKeyHandler::handle(const EditorChord& chord, bool autoRepeat) {
    if (QApplication::mouseButtons() != Qt::NoButton || m_canvas.dragging()) {
        if (chord.command == EditorCommand::escape) {
            m_canvas.cancelDrag();
        }
        return true;
    }
    return m_toolbar.handleKey(chord, autoRepeat);
}

} // namespace vellumix
