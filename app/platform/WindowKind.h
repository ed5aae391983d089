#pragma once

class QWidget;

namespace vellumix::windowkind {

// Window kinds of the app, made the same way everywhere so that a window
// manager treats them alike. Call before the widget is first shown.

// A floating panel that never takes focus from the app the user works in
// (scrolling-capture controls, toasts, hint bubbles).
void makeFloatingPanel(QWidget* widget);

// A titled, closable, resizable utility window kept above normal windows
// (pinned images).
void makeUtilityWindow(QWidget* widget);

// A window the window manager does not manage at all (override-redirect):
// the selection overlay, one per display.
void makeOverlay(QWidget* widget);

// Takes the keyboard for an overlay, so that every key reaches the app; false
// while another client holds it (a passive grab of the hot key does until the
// key is released), so callers retry. True where no window system grabs
// (offscreen).
bool grabKeyboard(QWidget* widget);
void releaseKeyboard(QWidget* widget);

// Asks the window manager to show the window on every desktop. Works before
// and after the window is mapped; does nothing off X11.
void showOnAllDesktops(QWidget* widget);

// True when a compositing manager runs (always on Wayland), so translucency and window opacity
// show as such; without one, windows paint opaque and use masks for shapes.
bool compositorActive();

} // namespace vellumix::windowkind
