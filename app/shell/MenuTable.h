#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

#include <functional>

namespace vellumix {

// What the enabling rules look at.
struct MenuState {
    bool busy = false;
    bool running = false;
    bool hasEditor = false;
    bool clipboardHasImage = false;

    bool idle() const { return !busy && !running; }
};

// One menu item: its title, its key equivalent, when it may be used and what
// it does. A row without a title is a separator.
struct MenuRow {
    QString title;
    QKeySequence keys;
    std::function<bool(const MenuState&)> enabled;
    std::function<void()> run;

    bool isSeparator() const { return title.isEmpty(); }
};

struct MenuDefinition {
    QString title;
    QList<MenuRow> rows;
};

// The app's menus: the menu bar in order (the application menu, File and
// Edit) and the tray icon's menu, whose first item's title is the capture
// title.
struct MenuTables {
    QList<MenuDefinition> menuBar;
    QList<MenuRow> tray;
};

namespace menutable {

// "Capture", four spaces, then the hot key as the user reads it, or
// "Shortcut unavailable" when it could not be registered.
QString captureTitle(const QString& modifiers, const QString& key, const QString& error);

} // namespace menutable

} // namespace vellumix
