#include "editor/InPlaceEditorController.h"

#include "editor/EditingOverlay.h"
#include "platform/DisplayId.h"
#include "platform/WindowKind.h"

#include <QGuiApplication>
#include <QScreen>

namespace vellumix {

InPlaceEditorController::InPlaceEditorController(EditorDocument& document,
                                                 const CaptureRegion& region,
                                                 EditorServices services, EditorActions actions,
                                                 QObject* parent)
    : QObject(parent) {
    m_window = new EditingOverlay(document, region, screenOf(region.displayID), services,
                                  std::move(actions));
    m_window->show();
    windowkind::showOnAllDesktops(m_window);
    m_window->raise();
    m_window->activateWindow();
}

InPlaceEditorController::~InPlaceEditorController() {
    delete m_window;
}

void InPlaceEditorController::close() {
    if (m_window != nullptr) {
        m_window->hide();
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
