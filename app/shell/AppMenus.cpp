#include "shell/AppMenus.h"

#include <QMenu>
#include <QMenuBar>

namespace vellumix {

AppMenus::AppMenus(MenuTables tables, std::function<MenuState()> state,
                   std::function<QString()> captureTitle, QObject* parent)
    : QObject(parent), m_tables(std::move(tables)), m_state(std::move(state)),
      m_captureTitle(std::move(captureTitle)), m_tray(new QMenu) {
    connect(this, &QObject::destroyed, m_tray, &QObject::deleteLater);
    addRows(m_tray, m_tables.tray);
    m_trayCapture = m_tray->actions().value(0);
    connect(m_tray, &QMenu::aboutToShow, this, &AppMenus::refresh);
}

void AppMenus::populate(QMenuBar* bar) {
    for (const MenuDefinition& definition : m_tables.menuBar) {
        QMenu* menu = bar->addMenu(definition.title);
        addRows(menu, definition.rows);
        connect(menu, &QMenu::aboutToShow, this, &AppMenus::refresh);
    }
    refresh();
}

void AppMenus::addRows(QMenu* menu, const QList<MenuRow>& rows) {
    for (const MenuRow& row : rows) {
        if (row.isSeparator()) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(row.title);
        action->setShortcut(row.keys);
        connect(action, &QAction::triggered, this, [this, row] {
            if (row.enabled(m_state())) {
                row.run();
            }
        });
        m_items.append({action, row.enabled});
    }
}

void AppMenus::refresh() {
    const MenuState state = m_state();
    for (const auto& [action, enabled] : m_items) {
        action->setEnabled(enabled(state));
    }
    m_trayCapture->setText(m_captureTitle());
}

} // namespace vellumix
