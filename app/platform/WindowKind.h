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

// Lets the user move the window with the pointer from a button press until
// its release: by the window manager where it moves windows, by the app where
// it may not (a Wayland surface the app places itself).
void startMove(QWidget* window);

// Asks the window manager to show the window on every desktop. Works before
// and after the window is mapped; does nothing off X11.
void showOnAllDesktops(QWidget* widget);

// False where floating windows such as pins get no title bar, and with it no
// close button, from the desktop (Wayland, where the app places them itself).
bool titlesFloatingWindows();

// True where the in-place editor, which covers its display, must leave the
// rest of the desktop usable (Wayland, where the editor cannot be a window at
// the region): it takes input on its own parts alone and dims nothing.
bool editorSharesTheDesktop();

// True when a compositing manager runs (always on Wayland), so translucency and window opacity
// show as such; without one, windows paint opaque and use masks for shapes.
bool compositorActive();

} // namespace vellumix::windowkind
