#pragma once

#include <QObject>

namespace vellumix {

// Hides the hint bubbles of one window at once. The editor's key handling
// sends it: a key press means the user moved on from the pointer. The
// window owns it, and it outlives the window's hints.
class HintDismissal final : public QObject {
    Q_OBJECT
public:
    void dismissAll() { emit dismissShortcutHints(); }

signals:
    void dismissShortcutHints();
};

} // namespace vellumix
