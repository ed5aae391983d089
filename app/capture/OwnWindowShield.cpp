#include "capture/OwnWindowShield.h"

#include <QGuiApplication>

namespace vellumix {

OwnWindowShield::OwnWindowShield(const QRectF& globalRect) {
    for (QWindow* window : QGuiApplication::topLevelWindows()) {
        if (window->isVisible() && QRectF(window->frameGeometry()).intersects(globalRect)) {
            m_hidden.append(window);
            window->hide();
        }
    }
}

void OwnWindowShield::restore() {
    for (const QPointer<QWindow>& window : std::as_const(m_hidden)) {
        if (window != nullptr) {
            window->setVisible(true);
        }
    }
    m_hidden.clear();
}

} // namespace vellumix
