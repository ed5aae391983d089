#pragma once

#include <QObject>

namespace vellumix {

// The app-wide signal that hides every visible hint bubble. The editor's key
// handling sends it: a key press means the user moved on from the pointer.
class HintDismissal final : public QObject {
    Q_OBJECT
public:
    static HintDismissal& shared();

    void dismissAll() { emit dismissShortcutHints(); }

signals:
    void dismissShortcutHints();
};

} // namespace vellumix
