#include "session/QtInPlaceEditing.h"

#include "editor/ColorCopyToast.h"
#include "editor/EditingOverlay.h"
#include "editor/InPlaceEditorController.h"
#include "platform/qt/QtDisplaySource.h"

namespace vellumix {

QtInPlaceEditing::QtInPlaceEditing(EditorServices services, OverlaySurfaces& overlays)
    : m_services(services), m_overlays(overlays) {}

QtInPlaceEditing::~QtInPlaceEditing() {
    delete m_controller;
}

bool QtInPlaceEditing::show(EditorDocument& document, const CaptureRegion& region,
                            const QImage& backdrop, Actions actions) {
    close();
    if (QtDisplaySource::screenOf(region.displayID) == nullptr) {
        return false;
    }
    m_controller = new InPlaceEditorController(document, region, backdrop, m_services, m_overlays,
                                               std::move(actions));
    return true;
}

// The editor may be closing from one of its own actions (Escape, Cancel), so
// its window and controller go at the next turn of the event loop.
void QtInPlaceEditing::close() {
    if (m_controller != nullptr) {
        m_controller->close();
        m_controller->deleteLater();
        m_controller = nullptr;
    }
}

bool QtInPlaceEditing::isOpen() const {
    return m_controller != nullptr;
}

void QtInPlaceEditing::showColorCopied(const QString& hex) {
    ColorCopyToast::show(hex);
}

EditingOverlay* QtInPlaceEditing::window() const {
    return m_controller != nullptr ? m_controller->window() : nullptr;
}

} // namespace vellumix
