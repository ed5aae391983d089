#include "shell/AppMenus.h"

#include <QMenu>
#include <QMenuBar>

namespace vellumix {

AppMenus::AppMenus(std::function<MenuState()> state, std::function<QString()> captureTitle,
                   QObject* parent)
    : QObject(parent), m_state(std::move(state)), m_captureTitle(std::move(captureTitle)),
      m_tray(new QMenu) {
    connect(this, &QObject::destroyed, m_tray, &QObject::deleteLater);
    addItems(m_tray, menutable::trayMenu());
    m_trayCapture = m_tray->actions().value(0);
    connect(m_tray, &QMenu::aboutToShow, this, &AppMenus::refresh);
}

void AppMenus::populate(QMenuBar* bar) {
    for (const MenuDefinition& definition : menutable::menuBar()) {
        QMenu* menu = bar->addMenu(QString::fromUtf8(definition.title));
        addItems(menu, definition.items);
        connect(menu, &QMenu::aboutToShow, this, &AppMenus::refresh);
    }
    refresh();
}

void AppMenus::addItems(QMenu* menu, const QList<MenuItem>& items) {
    for (const MenuItem& item : items) {
        if (item.action == MenuAction::Separator) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(QString::fromUtf8(item.title));
        if (*item.keys) {
            action->setShortcut(QKeySequence(QString::fromLatin1(item.keys)));
        }
        const MenuAction which = item.action;
        connect(action, &QAction::triggered, this, [this, which] { emit triggered(which); });
        m_actions.insert(which, action);
    }
}

void AppMenus::refresh() {
    const MenuState state = m_state();
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
        it.value()->setEnabled(menutable::isEnabled(it.key(), state));
    }
    m_trayCapture->setText(m_captureTitle());
}

} // namespace vellumix
