#include "platform/x11/X11Permission.h"

namespace vellumix {

bool X11Permission::screenRecordingGranted() const {
    xcb_connection_t* c = m_connection.get();
    if (xcb_connection_has_error(c) != 0) {
        return false;
    }
    m_connection.discardEvents();
    return takeReply(c, xcb_get_image_reply,
                     xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, m_connection.root(), 0, 0, 1, 1,
                                   ~0u)) != nullptr;
}

} // namespace vellumix
