#pragma once

#include <xcb/xcb.h>

#include <QByteArray>
#include <QSize>

#include <cstdlib>
#include <memory>

namespace vellumix {

template <typename T> using X11Reply = std::unique_ptr<T, decltype(&std::free)>;

// The reply to a request, or null when the server answered with an error (a
// window that vanished meanwhile, say); the error is freed here.
template <typename T, typename Cookie>
X11Reply<T> takeReply(xcb_connection_t* connection,
                      T* (*read)(xcb_connection_t*, Cookie, xcb_generic_error_t**), Cookie cookie) {
    xcb_generic_error_t* error = nullptr;
    T* reply = read(connection, cookie, &error);
    std::free(error);
    return X11Reply<T>(reply, &std::free);
}

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
    // The root window's current size (RandR may have changed it since the
    // connection was made); empty when the server does not answer.
    QSize rootSize() const;
    // Drops the events the server sends every client (mapping changes): this
    // connection never reads them, and they would pile up.
    void discardEvents() const;
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
