#include "platform/x11/X11WindowWithdrawal.h"

#include "platform/x11/X11WindowManager.h"

#include <QThread>

#include <algorithm>

namespace vellumix {

X11WindowWithdrawal::X11WindowWithdrawal(const X11Connection& connection)
    : m_connection(connection), m_qt(x11::qtConnection()) {}

bool X11WindowWithdrawal::waitUntilGone(const QList<quintptr>& windows, QDeadlineTimer deadline) {
    if (m_qt != nullptr) {
        std::free(xcb_get_input_focus_reply(m_qt, xcb_get_input_focus(m_qt), nullptr));
    }
    const auto shown = [this](quintptr window) {
        return onScreen(xcb_window_t(window));
    };
    while (std::any_of(windows.begin(), windows.end(), shown)) {
        if (deadline.hasExpired()) {
            return false;
        }
        QThread::msleep(pollMilliseconds);
    }
    return true;
}

// A window reparented by the window manager shows as long as its frame, the
// ancestor just below the root, is mapped. A window destroyed meanwhile is
// gone.
bool X11WindowWithdrawal::onScreen(xcb_window_t window) const {
    xcb_connection_t* c = m_connection.get();
    for (;;) {
        const X11Reply<xcb_query_tree_reply_t> tree =
            takeReply(c, xcb_query_tree_reply, xcb_query_tree(c, window));
        if (tree == nullptr) {
            return false;
        }
        if (tree->parent == tree->root || tree->parent == XCB_WINDOW_NONE) {
            break;
        }
        window = tree->parent;
    }
    const X11Reply<xcb_get_window_attributes_reply_t> attributes =
        takeReply(c, xcb_get_window_attributes_reply, xcb_get_window_attributes(c, window));
    return attributes != nullptr && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
}

} // namespace vellumix
