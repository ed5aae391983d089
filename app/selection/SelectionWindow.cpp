#include "selection/SelectionWindow.h"

#include "platform/WindowKind.h"
#include "selection/SelectionView.h"

namespace vellumix {

SelectionWindow::SelectionWindow(const DisplayInfo& display, OverlaySurfaces& overlays)
    : m_display(display), m_overlays(overlays) {
    // The view paints every pixel: nothing to clear beneath it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    windowkind::makeOverlay(this);
    setGeometry(display.frame.toRect());
}

bool SelectionWindow::fits(const DisplayInfo& display) const {
    return display.id == m_display.id && display.frame == m_display.frame &&
           display.scale == m_display.scale;
}

void SelectionWindow::open(SelectionView* view) {
    m_view = view;
    view->setParent(this);
    view->setGeometry(rect());
    view->show();
    m_overlays.show(this, m_display, OverlayInput::whole);
    view->setFocus();
}

void SelectionWindow::close() {
    windowkind::releaseKeyboard(this);
    m_overlays.hide(this);
    if (m_view != nullptr) {
        m_view->setHooks({});
        m_view->hide();
        m_view->deleteLater();
        m_view = nullptr;
    }
}

} // namespace vellumix
