#include "platform/WindowKind.h"

#include "platform/x11/X11WindowManager.h"

#include <QWidget>

namespace vellumix::windowkind {

void makeFloatingPanel(QWidget* widget) {
    widget->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus);
    widget->setAttribute(Qt::WA_ShowWithoutActivating);
}

void makeUtilityWindow(QWidget* widget) {
    widget->setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                           Qt::WindowStaysOnTopHint);
}

void makeOverlay(QWidget* widget) {
    widget->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::BypassWindowManagerHint |
                           Qt::WindowStaysOnTopHint);
}

void showOnAllDesktops(QWidget* widget) {
    x11::setOnAllDesktops(widget->winId(), widget->isVisible());
}

bool compositorActive() {
    return x11::compositorRunning();
}

} // namespace vellumix::windowkind
