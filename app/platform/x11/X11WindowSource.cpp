#include "platform/x11/X11WindowSource.h"

#include "platform/PlatformError.h"
#include "platform/x11/X11PixelConverter.h"

#include <QSysInfo>

#include <xcb/composite.h>

#include <QColorSpace>
#include <QPainter>

#include <climits>
#include <cstdlib>
#include <cstring>

namespace vellumix {

namespace {

// Desktop windows are the background, never a window of the list.
constexpr int desktopLayer = INT_MIN;
constexpr int popupLayer = 101;

struct TypeLayer {
    const char* type;
    int layer;
};

// The first type of a window's _NET_WM_WINDOW_TYPE that this table knows
// decides its layer; a window without a known type is a normal window.
constexpr TypeLayer typeLayers[] = {
    {"_NET_WM_WINDOW_TYPE_NORMAL", 0},
    {"_NET_WM_WINDOW_TYPE_DIALOG", 0},
    {"_NET_WM_WINDOW_TYPE_DESKTOP", desktopLayer},
    {"_NET_WM_WINDOW_TYPE_UTILITY", 3},
    {"_NET_WM_WINDOW_TYPE_TOOLBAR", 3},
    {"_NET_WM_WINDOW_TYPE_DOCK", 20},
    {"_NET_WM_WINDOW_TYPE_SPLASH", 21},
    {"_NET_WM_WINDOW_TYPE_NOTIFICATION", 23},
    {"_NET_WM_WINDOW_TYPE_MENU", 24},
    {"_NET_WM_WINDOW_TYPE_DROPDOWN_MENU", popupLayer},
    {"_NET_WM_WINDOW_TYPE_POPUP_MENU", popupLayer},
    {"_NET_WM_WINDOW_TYPE_COMBO", popupLayer},
    {"_NET_WM_WINDOW_TYPE_TOOLTIP", 102},
    {"_NET_WM_WINDOW_TYPE_DND", 103},
};

constexpr const char* otherAtoms[] = {
    "_NET_CLIENT_LIST_STACKING", "_NET_WM_NAME",       "UTF8_STRING",        "_NET_WM_PID",
    "_NET_WM_WINDOW_TYPE",       "_NET_FRAME_EXTENTS", "_GTK_FRAME_EXTENTS", "_NET_WM_CM_S0",
};

template <typename T> QList<T> valuesOf(const QByteArray& bytes) {
    QList<T> values(bytes.size() / qsizetype(sizeof(T)));
    if (values.isEmpty()) {
        return values; // an empty list has no storage to copy into
    }
    std::memcpy(values.data(), bytes.constData(), size_t(values.size()) * sizeof(T));
    return values;
}

} // namespace

X11WindowSource::X11WindowSource(std::unique_ptr<X11Connection> connection,
                                 const DisplaySource& displays, X11ScreenSource& screen)
    : m_connection(std::move(connection)), m_displays(displays), m_screen(screen) {
    for (const TypeLayer& row : typeLayers) {
        m_atoms.insert(row.type, m_connection->atom(row.type));
    }
    for (const char* name : otherAtoms) {
        m_atoms.insert(name, m_connection->atom(name));
    }
    // NameWindowPixmap came with version 0.2; the version must be asked for
    // before the extension may be used.
    xcb_connection_t* c = m_connection->get();
    const X11Reply<xcb_composite_query_version_reply_t> version =
        takeReply(c, xcb_composite_query_version_reply, xcb_composite_query_version(c, 0, 4));
    m_hasComposite =
        version != nullptr && (version->major_version > 0 || version->minor_version >= 2);
}

xcb_atom_t X11WindowSource::atom(const char* name) const {
    return m_atoms.value(name, XCB_ATOM_NONE);
}

QList<WindowInfo> X11WindowSource::windows() const {
    m_connection->discardEvents();
    const QList<DisplayInfo> displays = m_displays.displays();
    QList<WindowInfo> result;
    for (const xcb_window_t window : frontToBack()) {
        if (std::optional<Entry> entry = describe(window)) {
            entry->info.frame = pixelRectToPoints(displays, entry->pixels);
            result.append(entry->info);
        }
    }
    return result;
}

QList<xcb_window_t> X11WindowSource::frontToBack() const {
    QList<xcb_window_t> windows = valuesOf<xcb_window_t>(m_connection->property(
        m_connection->root(), atom("_NET_CLIENT_LIST_STACKING"), XCB_ATOM_WINDOW));
    if (windows.isEmpty()) {
        // No window manager: the root's children are the top-level windows.
        xcb_connection_t* c = m_connection->get();
        const X11Reply<xcb_query_tree_reply_t> tree =
            takeReply(c, xcb_query_tree_reply, xcb_query_tree(c, m_connection->root()));
        if (tree != nullptr) {
            const xcb_window_t* children = xcb_query_tree_children(tree.get());
            windows = QList<xcb_window_t>(children,
                                          children + xcb_query_tree_children_length(tree.get()));
        }
    }
    // Both lists run from the bottom of the stack to the top.
    std::reverse(windows.begin(), windows.end());
    return windows;
}

std::optional<X11WindowSource::Entry> X11WindowSource::describe(xcb_window_t window) const {
    xcb_connection_t* c = m_connection->get();
    const X11Reply<xcb_get_window_attributes_reply_t> attributes =
        takeReply(c, xcb_get_window_attributes_reply, xcb_get_window_attributes(c, window));
    if (attributes == nullptr || attributes->map_state != XCB_MAP_STATE_VIEWABLE ||
        attributes->_class != XCB_WINDOW_CLASS_INPUT_OUTPUT) {
        return std::nullopt;
    }
    const int windowLayer = layer(window, attributes->override_redirect != 0);
    const std::optional<QRect> pixels = pixelFrame(window);
    if (windowLayer == desktopLayer || !pixels) {
        return std::nullopt;
    }
    Entry entry;
    entry.info.id = window;
    entry.info.title = title(window);
    entry.info.appName = appName(window);
    const QList<quint32> pid =
        valuesOf<quint32>(m_connection->property(window, atom("_NET_WM_PID"), XCB_ATOM_CARDINAL));
    entry.info.pid = pid.isEmpty() ? 0 : pid.first();
    entry.info.layer = windowLayer;
    entry.pixels = *pixels;
    return entry;
}

std::optional<QRect> X11WindowSource::pixelFrame(xcb_window_t window) const {
    xcb_connection_t* c = m_connection->get();
    const X11Reply<xcb_get_geometry_reply_t> geometry =
        takeReply(c, xcb_get_geometry_reply, xcb_get_geometry(c, window));
    const X11Reply<xcb_translate_coordinates_reply_t> origin =
        takeReply(c, xcb_translate_coordinates_reply,
                  xcb_translate_coordinates(c, window, m_connection->root(), 0, 0));
    if (geometry == nullptr || origin == nullptr) {
        return std::nullopt;
    }
    QRect frame(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
    // The window manager's decorations belong to the window as the user sees it.
    const QList<quint32> extents = valuesOf<quint32>(
        m_connection->property(window, atom("_NET_FRAME_EXTENTS"), XCB_ATOM_CARDINAL));
    if (extents.size() == 4) {
        frame.adjust(-int(extents[0]), -int(extents[2]), int(extents[1]), int(extents[3]));
    }
    // A window that draws its own decorations includes its shadow, which the
    // user does not see as part of the window.
    const QList<quint32> shadow = valuesOf<quint32>(
        m_connection->property(window, atom("_GTK_FRAME_EXTENTS"), XCB_ATOM_CARDINAL));
    if (shadow.size() == 4) {
        frame.adjust(int(shadow[0]), int(shadow[2]), -int(shadow[1]), -int(shadow[3]));
    }
    return frame;
}

QString X11WindowSource::title(xcb_window_t window) const {
    const QByteArray utf8 =
        m_connection->property(window, atom("_NET_WM_NAME"), atom("UTF8_STRING"));
    if (!utf8.isEmpty()) {
        return QString::fromUtf8(utf8);
    }
    return QString::fromLatin1(m_connection->property(window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING));
}

QString X11WindowSource::appName(xcb_window_t window) const {
    // WM_CLASS holds the instance name and then the class name, each ending
    // in a zero byte; the class names the application.
    const QList<QByteArray> parts =
        m_connection->property(window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING).split('\0');
    if (parts.size() > 1 && !parts[1].isEmpty()) {
        return QString::fromLocal8Bit(parts[1]);
    }
    return parts.isEmpty() ? QString() : QString::fromLocal8Bit(parts[0]);
}

int X11WindowSource::layer(xcb_window_t window, bool overrideRedirect) const {
    const QList<xcb_atom_t> types = valuesOf<xcb_atom_t>(
        m_connection->property(window, atom("_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM));
    for (const xcb_atom_t type : types) {
        for (const TypeLayer& row : typeLayers) {
            if (atom(row.type) == type) {
                return row.layer;
            }
        }
    }
    // Untyped windows that bypass the window manager are menus and tooltips.
    return overrideRedirect ? popupLayer : 0;
}

bool X11WindowSource::capturesCoveredWindows() const {
    if (!m_hasComposite) {
        return false;
    }
    xcb_connection_t* c = m_connection->get();
    const X11Reply<xcb_get_selection_owner_reply_t> owner = takeReply(
        c, xcb_get_selection_owner_reply, xcb_get_selection_owner(c, atom("_NET_WM_CM_S0")));
    return owner != nullptr && owner->owner != XCB_WINDOW_NONE;
}

xcb_window_t X11WindowSource::topLevel(xcb_window_t window) const {
    xcb_connection_t* c = m_connection->get();
    for (;;) {
        const X11Reply<xcb_query_tree_reply_t> tree =
            takeReply(c, xcb_query_tree_reply, xcb_query_tree(c, window));
        if (tree == nullptr || tree->parent == XCB_WINDOW_NONE) {
            return XCB_WINDOW_NONE;
        }
        if (tree->parent == tree->root) {
            return window;
        }
        window = tree->parent;
    }
}

std::optional<QImage> X11WindowSource::compositedImage(xcb_window_t window,
                                                       const QRect& frame) const {
    // Only the children of the root are redirected, so the pixmap is the
    // top-level frame's, which holds the window.
    const xcb_window_t top = topLevel(window);
    xcb_connection_t* c = m_connection->get();
    const X11Reply<xcb_get_geometry_reply_t> geometry =
        takeReply(c, xcb_get_geometry_reply, xcb_get_geometry(c, top));
    const X11Reply<xcb_translate_coordinates_reply_t> origin =
        takeReply(c, xcb_translate_coordinates_reply,
                  xcb_translate_coordinates(c, top, m_connection->root(), 0, 0));
    if (top == XCB_WINDOW_NONE || geometry == nullptr || origin == nullptr) {
        return std::nullopt;
    }
    const QRect topRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
    if (!topRect.contains(frame)) {
        return std::nullopt;
    }
    const xcb_pixmap_t pixmap = xcb_generate_id(c);
    if (xcb_generic_error_t* error =
            xcb_request_check(c, xcb_composite_name_window_pixmap_checked(c, top, pixmap))) {
        std::free(error);
        return std::nullopt;
    }
    // The pixmap includes the window's border.
    const QPoint at = frame.topLeft() - topRect.topLeft() +
                      QPoint(geometry->border_width, geometry->border_width);
    const X11Reply<xcb_get_image_reply_t> reply = takeReply(
        c, xcb_get_image_reply,
        xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, qint16(at.x()), qint16(at.y()),
                      quint16(frame.width()), quint16(frame.height()), ~0u));
    xcb_free_pixmap(c, pixmap);
    if (reply == nullptr ||
        xcb_get_image_data_length(reply.get()) < frame.width() * frame.height() * 4) {
        return std::nullopt;
    }
    return imageOfDepth(xcb_get_image_data(reply.get()), frame.size(), geometry->depth);
}

QImage X11WindowSource::imageOfDepth(const uchar* data, QSize size, int depth) const {
    const X11PixelLayout& layout = m_connection->layout();
    const bool nativeArgb = layout.bitsPerPixel == 32 && layout.redMask == 0xff0000 &&
                            layout.lsbFirst == (QSysInfo::ByteOrder == QSysInfo::LittleEndian);
    if (depth != 32 || !nativeArgb) {
        return imageFromZPixmap(data, size, layout);
    }
    // A window with an alpha channel (rounded corners, shadows): its pixels
    // are premultiplied ARGB in the server's byte order, which is Qt's.
    const QImage argb(data, size.width(), size.height(), size.width() * 4,
                      QImage::Format_ARGB32_Premultiplied);
    QImage image = argb.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    image.setColorSpace(QColorSpace::SRgb);
    return image;
}

QImage X11WindowSource::windowImage(quint32 id) {
    const std::optional<QRect> frame = pixelFrame(id);
    if (!frame) {
        throw PlatformError(QStringLiteral("The window is no longer on the screen."));
    }
    if (capturesCoveredWindows()) {
        if (std::optional<QImage> own = compositedImage(id, *frame)) {
            return *own;
        }
    }
    const QRect visible = frame->intersected(QRect(QPoint(0, 0), m_connection->rootSize()));
    if (visible == *frame) {
        return m_screen.grabRootPixels(visible);
    }
    QImage image(frame->size(), QImage::Format_RGBA8888_Premultiplied);
    image.fill(Qt::transparent);
    if (!visible.isEmpty()) {
        QPainter painter(&image);
        painter.drawImage(visible.topLeft() - frame->topLeft(), m_screen.grabRootPixels(visible));
    }
    image.setColorSpace(QColorSpace::SRgb);
    return image;
}

} // namespace vellumix
