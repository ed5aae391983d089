#include "platform/WindowKind.h"

#include "platform/x11/X11WindowManager.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

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

namespace {

bool grabsKeyboard() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

} // namespace

bool grabKeyboard(QWidget* widget) {
    if (!grabsKeyboard()) {
        return true;
    }
    QWindow* window = widget->windowHandle();
    return window != nullptr && window->setKeyboardGrabEnabled(true);
}

void releaseKeyboard(QWidget* widget) {
    if (QWindow* window = widget->windowHandle(); window != nullptr && grabsKeyboard()) {
        window->setKeyboardGrabEnabled(false);
    }
}

void showOnAllDesktops(QWidget* widget) {
    x11::setOnAllDesktops(widget->winId(), widget->isVisible());
}

bool compositorActive() {
    // A Wayland compositor always composites.
    return QGuiApplication::platformName() == QLatin1String("wayland") || x11::compositorRunning();
}

} // namespace vellumix::windowkind
