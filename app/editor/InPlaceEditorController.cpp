#include "editor/InPlaceEditorController.h"

#include "editor/EditingOverlay.h"
#include "platform/DisplayId.h"
#include "platform/WindowKind.h"
#include "platform/qt/QtDisplaySource.h"

#include <QGuiApplication>
#include <QScreen>

namespace vellumix {

InPlaceEditorController::InPlaceEditorController(EditorDocument& document,
                                                 const CaptureRegion& region,
                                                 const QImage& backdrop, EditorServices services,
                                                 OverlaySurfaces& overlays, EditorActions actions,
                                                 QObject* parent)
    : QObject(parent), m_overlays(overlays) {
    QScreen* screen = screenOf(region.displayID);
    m_window = new EditingOverlay(document, region, screen, services, std::move(actions), backdrop);
    const DisplayInfo display =
        *findDisplay(QtDisplaySource().displays(), displayIdForName(screen->name()));
    m_overlays.show(m_window, display,
                    m_window->takesAllInput() ? OverlayInput::whole : OverlayInput::masked);
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
    QScreen* screen = QtDisplaySource::screenOf(displayID);
    return screen != nullptr ? screen : QGuiApplication::primaryScreen();
}

} // namespace vellumix
