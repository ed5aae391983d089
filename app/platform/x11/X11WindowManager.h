#pragma once

#include <QtGlobal>

struct xcb_connection_t;

// Requests to the window manager over Qt's own X connection. Each does
// nothing (or answers false) when Qt does not run on X11.
namespace vellumix::x11 {

// Qt's connection, or null when Qt does not run on X11. Requests on it may
// come from any thread (libxcb is thread-safe).
xcb_connection_t* qtConnection();

// Sets _NET_WM_DESKTOP to "all desktops": as a property for the window
// manager to read when the window is mapped, and as a client message to the
// root window when it is already mapped (EWMH).
void setOnAllDesktops(quintptr window, bool mapped);

// Whether a compositing manager owns the _NET_WM_CM_S<screen> selection.
bool compositorRunning();

} // namespace vellumix::x11
