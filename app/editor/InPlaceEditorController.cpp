#include "editor/InPlaceEditorController.h"

#include "editor/EditingOverlay.h"
#include "platform/DisplayId.h"
#include "platform/WindowKind.h"

#include <QGuiApplication>
#include <QScreen>

namespace vellumix {

InPlaceEditorController::InPlaceEditorController(EditorDocument& document,
                                                 const CaptureRegion& region,
                                                 EditorServices services, OverlaySurfaces& overlays,
                                                 EditorActions actions, QObject* parent)
    : QObject(parent), m_overlays(overlays) {
    QScreen* screen = screenOf(region.displayID);
    m_window = new EditingOverlay(document, region, screen, services, std::move(actions));
    DisplayInfo display;
    display.id = displayIdForName(screen->name());
    display.name = screen->name();
    display.frame = QRectF(screen->geometry());
    display.scale = screen->devicePixelRatio();
    m_overlays.show(m_window, display,
                    m_window->dims() ? OverlayInput::whole : OverlayInput::masked);
    windowkind::showOnAllDesktops(m_window);
    m_window->raise();
    m_window->activateWindow();
}

InPlaceEditorController::~InPlaceEditorController() {
    delete m_window;
}

void InPlaceEditorController::close() {
    if (m_window != nullptr) {
        m_overlays.hide(m_window);
        m_window->deleteLater();
    }
}

QScreen* InPlaceEditorController::screenOf(quint32 displayID) {
    for (QScreen* screen : QGuiApplication::screens()) {
        if (displayIdForName(screen->name()) == displayID) {
            return screen;
        }
    }
    return QGuiApplication::primaryScreen();
}

} // namespace vellumix
