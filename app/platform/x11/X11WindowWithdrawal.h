#pragma once

#include "platform/WindowWithdrawal.h"
#include "platform/x11/X11Connection.h"

namespace vellumix {

// Qt hides windows on its own connection: once that connection has had an
// answer, the server has unmapped them. A window manager's frame goes when
// the window manager has seen the unmap, so the frames (the windows' top-most
// ancestors) are asked about on `connection` until they are unmapped too.
class X11WindowWithdrawal final : public WindowWithdrawal {
public:
    explicit X11WindowWithdrawal(const X11Connection& connection);
    bool waitUntilGone(const QList<quintptr>& windows, QDeadlineTimer deadline) override;

    static constexpr int pollMilliseconds = 2;

private:
    bool onScreen(xcb_window_t window) const;

    const X11Connection& m_connection;
    xcb_connection_t* m_qt;
};

} // namespace vellumix
