#include "platform/x11/X11Permission.h"

#include <cstring>

namespace vellumix {

namespace {

// Under XWayland the root window holds only the X clients' windows: every
// native Wayland window would be missing from a capture, so reading the
// screen there does not count as access to it.
bool isXWayland(xcb_connection_t* c) {
    constexpr const char* name = "XWAYLAND";
    const X11Reply<xcb_query_extension_reply_t> reply =
        takeReply(c, xcb_query_extension_reply, xcb_query_extension(c, std::strlen(name), name));
    return reply != nullptr && reply->present;
}

} // namespace

bool X11Permission::screenRecordingGranted() const {
    xcb_connection_t* c = m_connection.get();
    if (xcb_connection_has_error(c) != 0 || isXWayland(c)) {
        return false;
    }
    m_connection.discardEvents();
    return takeReply(c, xcb_get_image_reply,
                     xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, m_connection.root(), 0, 0, 1, 1,
                                   ~0u)) != nullptr;
}

} // namespace vellumix
