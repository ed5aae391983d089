#include "capture/OwnWindowShield.h"

#include <QEvent>
#include <QGuiApplication>

namespace vellumix {

OwnWindowShield::OwnWindowShield(const QRectF& globalRect) {
    for (QWindow* window : QGuiApplication::topLevelWindows()) {
        if (window->isVisible() && QRectF(window->frameGeometry()).intersects(globalRect)) {
            m_hidden.append(window);
            m_native.append(window->winId());
            window->installEventFilter(this);
            window->hide();
        }
    }
}

// A hidden window that is closed gets no visible change, only its close
// event: that is the app's word that it stays away.
bool OwnWindowShield::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close) {
        m_hidden.removeAll(qobject_cast<QWindow*>(watched));
        watched->removeEventFilter(this);
    }
    return false;
}

void OwnWindowShield::restore() {
    for (const QPointer<QWindow>& window : std::as_const(m_hidden)) {
        if (window != nullptr) {
            window->removeEventFilter(this);
            window->setVisible(true);
        }
    }
    m_hidden.clear();
}

} // namespace vellumix
