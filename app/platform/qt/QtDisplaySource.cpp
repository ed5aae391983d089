#include "platform/qt/QtDisplaySource.h"

#include "platform/DisplayId.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace vellumix {

QList<DisplayInfo> QtDisplaySource::displays() const {
    QList<QScreen*> screens = QGuiApplication::screens();
    QScreen* primary = QGuiApplication::primaryScreen();
    // Primary first, as the platform's screen order is elsewhere.
    if (screens.removeOne(primary)) {
        screens.prepend(primary);
    }
    QList<DisplayInfo> result;
    for (QScreen* screen : screens) {
        DisplayInfo display;
        display.name = screen->name();
        display.id = displayIdForName(display.name);
        display.frame = QRectF(screen->geometry());
        display.visibleFrame = QRectF(screen->availableGeometry());
        display.bottomLeftFrame = flippedFrame(display.frame, QRectF(primary->geometry()));
        display.scale = screen->devicePixelRatio();
        // Qt keeps a scaled screen's top-left corner at its device-pixel
        // position and scales only the size, so the corner is both.
        display.pixelOrigin = screen->geometry().topLeft();
        result.append(display);
    }
    return result;
}

QScreen* QtDisplaySource::screenOf(quint32 id) {
    const QList<QScreen*> screens = QGuiApplication::screens();
    const auto found = std::find_if(screens.begin(), screens.end(), [id](const QScreen* screen) {
        return displayIdForName(screen->name()) == id;
    });
    return found != screens.end() ? *found : nullptr;
}

QPointF QtDisplaySource::mouseLocation() const {
    return QPointF(QCursor::pos());
}

} // namespace vellumix
