#pragma once

#include "shell/MenuTable.h"

#include <QObject>

#include <functional>

class QAction;
class QMenu;
class QMenuBar;

namespace vellumix {

// The app's menus, made from the menu tables: the menu bar of the editor
// window and the tray menu. Items are enabled from `state()` whenever a menu
// opens or `refresh()` is called, and an item runs only while its rule
// allows it, so key equivalents follow the same rules.
class AppMenus final : public QObject {
    Q_OBJECT
public:
    AppMenus(MenuTables tables, std::function<MenuState()> state,
             std::function<QString()> captureTitle, QObject* parent = nullptr);

    // Fills `bar` with the menu bar's menus.
    void populate(QMenuBar* bar);
    // The tray menu (owned here).
    QMenu* trayMenu() const { return m_tray; }

    void refresh();

private:
    void addRows(QMenu* menu, const QList<MenuRow>& rows);

    MenuTables m_tables;
    std::function<MenuState()> m_state;
    std::function<QString()> m_captureTitle;
    QMenu* m_tray;
    QAction* m_trayCapture = nullptr;
    QList<std::pair<QAction*, std::function<bool(const MenuState&)>>> m_items;
};

} // namespace vellumix
