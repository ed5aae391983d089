#include "platform/x11/X11Connection.h"

#include <xcb/shm.h>

#include <QSize>

#include <cstdlib>
#include <cstring>

namespace vellumix {

std::unique_ptr<X11Connection> X11Connection::open() {
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        return nullptr;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && it.rem > 0; ++i) {
        xcb_screen_next(&it);
    }
    if (it.rem == 0) {
        xcb_disconnect(connection);
        return nullptr;
    }
    return std::unique_ptr<X11Connection>(new X11Connection(connection, it.data));
}

X11Connection::X11Connection(xcb_connection_t* connection, xcb_screen_t* screen)
    : m_connection(connection), m_screen(screen) {
    readLayout();
    xcb_shm_query_version_reply_t* shm =
        xcb_shm_query_version_reply(m_connection, xcb_shm_query_version(m_connection), nullptr);
    m_hasShm = shm != nullptr;
    std::free(shm);
}

X11Connection::~X11Connection() {
    xcb_disconnect(m_connection);
}

QSize X11Connection::rootSize() const {
    return QSize(m_screen->width_in_pixels, m_screen->height_in_pixels);
}

void X11Connection::readLayout() {
    const xcb_setup_t* setup = xcb_get_setup(m_connection);
    m_layout.lsbFirst = setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST;
    for (auto f = xcb_setup_pixmap_formats_iterator(setup); f.rem > 0; xcb_format_next(&f)) {
        if (f.data->depth == m_screen->root_depth) {
            m_layout.bitsPerPixel = f.data->bits_per_pixel;
        }
    }
    for (auto d = xcb_screen_allowed_depths_iterator(m_screen); d.rem > 0; xcb_depth_next(&d)) {
        for (auto v = xcb_depth_visuals_iterator(d.data); v.rem > 0; xcb_visualtype_next(&v)) {
            if (v.data->visual_id == m_screen->root_visual) {
                m_layout.redMask = v.data->red_mask;
                m_layout.greenMask = v.data->green_mask;
                m_layout.blueMask = v.data->blue_mask;
            }
        }
    }
}

xcb_atom_t X11Connection::atom(const char* name) const {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        m_connection, xcb_intern_atom(m_connection, 0, std::strlen(name), name), nullptr);
    const xcb_atom_t result = reply != nullptr ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return result;
}

QByteArray X11Connection::property(xcb_window_t window, xcb_atom_t property,
                                   xcb_atom_t type) const {
    // 16 MiB of 32-bit units: larger than any property this app reads.
    constexpr quint32 maxLength = 4u << 20;
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, window, property, type, 0, maxLength),
        nullptr);
    QByteArray result;
    if (reply != nullptr && reply->type != XCB_ATOM_NONE) {
        result = QByteArray(static_cast<const char*>(xcb_get_property_value(reply)),
                            xcb_get_property_value_length(reply));
    }
    std::free(reply);
    return result;
}

} // namespace vellumix
