#include "platform/x11/X11Permission.h"

#include <cstdlib>

namespace vellumix {

bool X11Permission::screenRecordingGranted() const {
    xcb_connection_t* c = m_connection.get();
    if (xcb_connection_has_error(c) != 0) {
        return false;
    }
    xcb_get_image_reply_t* reply = xcb_get_image_reply(
        c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, m_connection.root(), 0, 0, 1, 1, ~0u),
        nullptr);
    const bool granted = reply != nullptr;
    std::free(reply);
    return granted;
}

} // namespace vellumix
