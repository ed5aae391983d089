#include "ui/HoverTracking.h"

#include <QEvent>
#include <QWidget>

namespace vellumix {

HoverTracking::HoverTracking(QWidget* widget, std::function<void(bool)> changed)
    : QObject(widget), m_changed(std::move(changed)) {
    widget->installEventFilter(this);
}

bool HoverTracking::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
    case QEvent::Enter:
        m_changed(true);
        break;
    // A widget hidden under the pointer gets no leave event.
    case QEvent::Leave:
    case QEvent::Hide:
        m_changed(false);
        break;
    default:
        break;
    }
    return false;
}

} // namespace vellumix
