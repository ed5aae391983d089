#include "platform/x11/X11WindowManager.h"

#include "platform/x11/X11Connection.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

namespace vellumix::x11 {

namespace {

constexpr quint32 allDesktops = 0xFFFFFFFF;

xcb_atom_t internAtom(xcb_connection_t* connection, const QByteArray& name) {
    auto reply = takeReply(connection, xcb_intern_atom_reply,
                           xcb_intern_atom(connection, 0, quint16(name.size()), name.constData()));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

xcb_screen_t* defaultScreen(xcb_connection_t* connection) {
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
}

} // namespace

xcb_connection_t* qtConnection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

void setOnAllDesktops(quintptr window, bool mapped) {
    xcb_connection_t* connection = qtConnection();
    if (!connection) {
        return;
    }
    const xcb_atom_t desktop = internAtom(connection, "_NET_WM_DESKTOP");
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xcb_window_t(window), desktop,
                        XCB_ATOM_CARDINAL, 32, 1, &allDesktops);
    if (mapped) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = xcb_window_t(window);
        message.type = desktop;
        message.data.data32[0] = allDesktops;
        message.data.data32[1] = 1; // source indication: a normal application
        xcb_send_event(connection, 0, defaultScreen(connection)->root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                       reinterpret_cast<const char*>(&message));
    }
    xcb_flush(connection);
}

bool compositorRunning() {
    xcb_connection_t* connection = qtConnection();
    if (!connection) {
        return false;
    }
    // Qt runs on one X screen (RandR monitors share it), screen 0.
    const xcb_atom_t selection = internAtom(connection, "_NET_WM_CM_S0");
    auto owner = takeReply(connection, xcb_get_selection_owner_reply,
                           xcb_get_selection_owner(connection, selection));
    return owner && owner->owner != XCB_WINDOW_NONE;
}

} // namespace vellumix::x11
