#pragma once

#include <QList>
#include <QString>

namespace vellumix {

// Everything the app's menus can do.
enum class MenuAction {
    Separator,
    About,
    Shortcuts,
    Quit,
    Capture,
    OpenImage,
    OpenFromClipboard,
    SaveImage,
    CloseEditor,
    Undo,
    Redo,
    Cut,
    Copy,
    SelectAll,
};

// What the enabling rules look at.
struct MenuState {
    bool busy = false;
    bool running = false;
    bool hasEditor = false;
    bool clipboardHasImage = false;
};

struct MenuItem {
    MenuAction action;
    const char* title;
    const char* keys; // a portable QKeySequence text; empty for none
};

struct MenuDefinition {
    const char* title;
    QList<MenuItem> items;
};

namespace menutable {

// The menu bar, in order: the application menu, File and Edit.
const QList<MenuDefinition>& menuBar();
// The tray icon's menu; its first item's title is `captureTitle`.
const QList<MenuItem>& trayMenu();

bool isEnabled(MenuAction action, const MenuState& state);

// "Capture", four spaces, then the hot key as the user reads it, or
// "Shortcut unavailable" when it could not be registered.
QString captureTitle(const QString& modifiers, const QString& key, const QString& error);

} // namespace menutable

} // namespace vellumix
