#pragma once

#include <QDeadlineTimer>
#include <QList>

namespace vellumix {

// Tells when windows this app hid have left the screen. Hiding a window only
// asks for it to go: the request may wait behind others on the connection
// that sent it, and a window manager takes down the frame it drew around the
// window only when it gets to it. Safe to call from any thread.
class WindowWithdrawal {
public:
    virtual ~WindowWithdrawal() = default;

    // Blocks until neither `windows` (native handles of this app's windows,
    // hidden already) nor a frame around them is on the screen, or until
    // `deadline`; false when the deadline came first.
    virtual bool waitUntilGone(const QList<quintptr>& windows, QDeadlineTimer deadline) = 0;
};

} // namespace vellumix
