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
    m_hasShm = takeReply(m_connection, xcb_shm_query_version_reply,
                         xcb_shm_query_version(m_connection)) != nullptr;
}

X11Connection::~X11Connection() {
    xcb_disconnect(m_connection);
}

QSize X11Connection::rootSize() const {
    const X11Reply<xcb_get_geometry_reply_t> geometry = takeReply(
        m_connection, xcb_get_geometry_reply, xcb_get_geometry(m_connection, m_screen->root));
    return geometry == nullptr ? QSize() : QSize(geometry->width, geometry->height);
}

void X11Connection::discardEvents() const {
    while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
        std::free(event);
    }
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
    const X11Reply<xcb_intern_atom_reply_t> reply =
        takeReply(m_connection, xcb_intern_atom_reply,
                  xcb_intern_atom(m_connection, 0, std::strlen(name), name));
    return reply != nullptr ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

QByteArray X11Connection::property(xcb_window_t window, xcb_atom_t property,
                                   xcb_atom_t type) const {
    // 16 MiB of 32-bit units: larger than any property this app reads.
    constexpr quint32 maxLength = 4u << 20;
    const X11Reply<xcb_get_property_reply_t> reply =
        takeReply(m_connection, xcb_get_property_reply,
                  xcb_get_property(m_connection, 0, window, property, type, 0, maxLength));
    if (reply == nullptr || reply->type == XCB_ATOM_NONE) {
        return QByteArray();
    }
    return QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())),
                      xcb_get_property_value_length(reply.get()));
}

} // namespace vellumix
