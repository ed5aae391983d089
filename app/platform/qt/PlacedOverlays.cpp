#include "platform/qt/PlacedOverlays.h"

#include "platform/qt/QtDisplaySource.h"

#include <QScreen>
#include <QWidget>

namespace vellumix {

void PlacedOverlays::show(QWidget* window, const DisplayInfo& display, OverlayInput) {
    if (QScreen* screen = QtDisplaySource::screenOf(display.id)) {
        window->setScreen(screen);
    }
    window->setGeometry(display.frame.toRect());
    window->show();
}

void PlacedOverlays::showFloating(QWidget* window) {
    window->show();
}

void PlacedOverlays::hide(QWidget* window) {
    window->hide();
}

void FullScreenOverlays::show(QWidget* window, const DisplayInfo& display, OverlayInput) {
    if (QScreen* screen = QtDisplaySource::screenOf(display.id)) {
        window->setScreen(screen);
        window->setGeometry(screen->geometry());
    }
    window->showFullScreen();
}

void FullScreenOverlays::showFloating(QWidget* window) {
    window->show();
}

void FullScreenOverlays::hide(QWidget* window) {
    window->hide();
}

} // namespace vellumix
