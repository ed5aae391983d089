#pragma once

#include "shell/MenuTable.h"

#include <QHash>
#include <QObject>

#include <functional>

class QAction;
class QMenu;
class QMenuBar;

namespace vellumix {

// The app's menus, made from the menu tables: the menu bar of the editor
// window and the tray menu. Items are enabled from `state()` whenever a menu
// opens or `refresh()` is called, so key equivalents follow the same rules.
class AppMenus final : public QObject {
    Q_OBJECT
public:
    AppMenus(std::function<MenuState()> state, std::function<QString()> captureTitle,
             QObject* parent = nullptr);

    // Fills `bar` with the application, File and Edit menus.
    void populate(QMenuBar* bar);
    // The tray menu (owned here).
    QMenu* trayMenu() const { return m_tray; }

    void refresh();
    QList<QAction*> actions(MenuAction action) const { return m_actions.values(action); }

signals:
    void triggered(MenuAction action);

private:
    void addItems(QMenu* menu, const QList<MenuItem>& items);

    std::function<MenuState()> m_state;
    std::function<QString()> m_captureTitle;
    QMenu* m_tray;
    QAction* m_trayCapture = nullptr;
    QMultiHash<MenuAction, QAction*> m_actions;
};

} // namespace vellumix
