#include "pins/PinnedImages.h"

#include "layout/FloatingLayout.h"
#include "pins/PinnedImageView.h"
#include "platform/OverlaySurfaces.h"
#include "platform/WindowKind.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QUuid>

#include <algorithm>
#include <memory>

namespace vellumix {

namespace {

QSizeF availableRoom() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return PinnedImages::fallbackAvailable;
    }
    return QSizeF(screen->availableGeometry().size()) - PinnedImages::screenMargin;
}

void centreOnScreen(QWidget* window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), window->size());
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
}

} // namespace

PinnedImages::PinnedImages(Clipboard& clipboard, OverlaySurfaces& overlays, QObject* parent)
    : QObject(parent), m_clipboard(clipboard), m_overlays(overlays) {}

PinnedImages::~PinnedImages() {
    qDeleteAll(std::exchange(m_windows, {}));
}

QString PinnedImages::show(const QImage& image, double sourceScale) {
    const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    const QSizeF size = FloatingLayout::pinImageSize(image.size(), sourceScale, availableRoom());
    // The slider's action holds the window weakly. Window opacity shows only
    // through a compositor; without one the pin stays opaque and the slider
    // keeps its value.
    auto target = std::make_shared<QPointer<QWidget>>();
    auto* window = new PinnedImageView(image, size, m_clipboard, [target](double opacity) {
        if (*target && windowkind::compositorActive()) {
            (*target)->setWindowOpacity(opacity);
        }
    });
    *target = window;
    window->setObjectName(idPrefix + id);
    window->setWindowTitle(title);
    window->setAttribute(Qt::WA_DeleteOnClose);
    windowkind::makeUtilityWindow(window);
    window->setMinimumSize(minimumSize.toSize());
    window->resize(QSizeF(std::max(size.width(), minimumSize.width()),
                          size.height() + PinnedImageView::controlBarHeight)
                       .toSize());
    connect(window, &QObject::destroyed, this, [this, window] { m_windows.removeOne(window); });
    m_windows.append(window);
    centreOnScreen(window);
    windowkind::showOnAllDesktops(window);
    m_overlays.showFloating(window);
    window->raise();
    window->activateWindow();
    return id;
}

bool PinnedImages::close(const QString& id) {
    for (QWidget* window : m_windows) {
        if (window->objectName() == idPrefix + id) {
            // Closing deletes the window later; it leaves the list now.
            m_windows.removeOne(window);
            window->close();
            return true;
        }
    }
    return false;
}

QList<QWidget*> PinnedImages::windows() const {
    return m_windows;
}

} // namespace vellumix
