#include "platform/x11/X11PointerSource.h"

#include <xcb/xfixes.h>

#include <cstring>

namespace vellumix {

X11PointerSource::X11PointerSource(std::unique_ptr<X11Connection> connection)
    : m_connection(std::move(connection)) {
    // A client must state the version it speaks before any other request.
    m_hasXFixes = takeReply(m_connection->get(), xcb_xfixes_query_version_reply,
                            xcb_xfixes_query_version(m_connection->get(), 4, 0)) != nullptr;
}

std::optional<PointerImage> X11PointerSource::pointer() {
    if (!m_hasXFixes) {
        return std::nullopt;
    }
    xcb_connection_t* connection = m_connection->get();
    const X11Reply<xcb_xfixes_get_cursor_image_reply_t> reply = takeReply(
        connection, xcb_xfixes_get_cursor_image_reply, xcb_xfixes_get_cursor_image(connection));
    if (!reply || reply->width == 0 || reply->height == 0 ||
        xcb_xfixes_get_cursor_image_cursor_image_length(reply.get()) <
            int(reply->width) * reply->height) {
        return std::nullopt;
    }
    // Premultiplied ARGB in 32-bit words, Qt's Format_ARGB32_Premultiplied.
    QImage image(reply->width, reply->height, QImage::Format_ARGB32_Premultiplied);
    const quint32* pixels = xcb_xfixes_get_cursor_image_cursor_image(reply.get());
    for (int y = 0; y < image.height(); ++y) {
        std::memcpy(image.scanLine(y), pixels + qsizetype(y) * image.width(),
                    size_t(image.width()) * 4);
    }
    return PointerImage{image, QPoint(reply->xhot, reply->yhot), QPoint(reply->x, reply->y)};
}

} // namespace vellumix
