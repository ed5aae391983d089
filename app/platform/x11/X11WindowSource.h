#pragma once

#include "platform/DisplaySource.h"
#include "platform/WindowSource.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11ScreenSource.h"

#include <QHash>

namespace vellumix {

// The window list from the window manager's EWMH properties, or from the root
// window's children when no window manager runs. Window images are the
// window's own pixels (Composite's NameWindowPixmap) while a compositing
// manager runs, and the screen's pixels otherwise.
class X11WindowSource final : public WindowSource {
public:
    X11WindowSource(std::unique_ptr<X11Connection> connection, const DisplaySource& displays,
                    X11ScreenSource& screen);

    QList<WindowInfo> windows() const override;
    QImage windowImage(quint32 id) override;
    bool capturesCoveredWindows() const override;

private:
    struct Entry {
        WindowInfo info;
        QRect pixels; // the frame in the root window's device pixels
    };

    QList<xcb_window_t> frontToBack() const;
    std::optional<Entry> describe(xcb_window_t window) const;
    std::optional<QRect> pixelFrame(xcb_window_t window) const;
    QString title(xcb_window_t window) const;
    QString appName(xcb_window_t window) const;
    int layer(xcb_window_t window, bool overrideRedirect) const;
    xcb_atom_t atom(const char* name) const;
    xcb_window_t topLevel(xcb_window_t window) const;
    // The part `frame` (root pixels) of the window's own pixmap; none when
    // the window is not redirected or cannot be read that way.
    std::optional<QImage> compositedImage(xcb_window_t window, const QRect& frame) const;
    QImage imageOfDepth(const uchar* data, QSize size, int depth) const;

    std::unique_ptr<X11Connection> m_connection;
    const DisplaySource& m_displays;
    X11ScreenSource& m_screen;
    QHash<QByteArray, xcb_atom_t> m_atoms;
    bool m_hasComposite = false;
};

} // namespace vellumix
