#include "platform/WindowKind.h"

#include "platform/x11/X11WindowManager.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
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

// Moves the window where the pointer releases the button. Only then:
// compositors differ in how they report a pointer held over a surface that
// moves under it, but agree while it stays. While a button is held the
// window's surface gets every pointer event, so the application's events are
// enough.
class PointerMove final : public QObject {
public:
    explicit PointerMove(QWidget* window)
        : QObject(window), m_window(window), m_grip(QCursor::pos() - window->pos()) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease) {
            qApp->removeEventFilter(this);
            m_window->move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - m_grip);
            deleteLater();
        }
        return false;
    }

private:
    QWidget* m_window;
    QPoint m_grip;
};

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

void startMove(QWidget* window) {
    if (QWindow* handle = window->windowHandle(); handle != nullptr && !handle->startSystemMove()) {
        new PointerMove(window);
    }
}

void showOnAllDesktops(QWidget* widget) {
    x11::setOnAllDesktops(widget->winId(), widget->isVisible());
}

bool titlesFloatingWindows() {
    return QGuiApplication::platformName() != QLatin1String("wayland");
}

bool editorSharesTheDesktop() {
    return QGuiApplication::platformName() == QLatin1String("wayland");
}

bool compositorActive() {
    // A Wayland compositor always composites.
    return QGuiApplication::platformName() == QLatin1String("wayland") || x11::compositorRunning();
}

} // namespace vellumix::windowkind
