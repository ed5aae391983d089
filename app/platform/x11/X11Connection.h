#pragma once

#include <xcb/xcb.h>

#include <QByteArray>
#include <QSize>

#include <memory>

namespace vellumix {

// How the root window's pixels lie in a ZPixmap image.
struct X11PixelLayout {
    int bitsPerPixel = 32;
    bool lsbFirst = true;
    quint32 redMask = 0xff0000;
    quint32 greenMask = 0x00ff00;
    quint32 blueMask = 0x0000ff;
};

// One connection to the X server, separate from Qt's, so that work on it can
// run on any thread (libxcb is thread-safe) without touching Qt's queue.
class X11Connection final {
public:
    // The server named by $DISPLAY, or null when it does not answer.
    static std::unique_ptr<X11Connection> open();
    ~X11Connection();
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    xcb_connection_t* get() const { return m_connection; }
    xcb_window_t root() const { return m_screen->root; }
    QSize rootSize() const;
    const X11PixelLayout& layout() const { return m_layout; }
    bool hasShm() const { return m_hasShm; }

    xcb_atom_t atom(const char* name) const;
    // A property of `window` as raw bytes, empty when absent or not of `type`
    // (XCB_ATOM_ANY accepts every type).
    QByteArray property(xcb_window_t window, xcb_atom_t property, xcb_atom_t type) const;

private:
    X11Connection(xcb_connection_t* connection, xcb_screen_t* screen);
    void readLayout();

    xcb_connection_t* m_connection;
    xcb_screen_t* m_screen;
    X11PixelLayout m_layout;
    bool m_hasShm = false;
};

} // namespace vellumix
