#include "session/CaptureControlsController.h"

#include "layout/FloatingLayout.h"
#include "platform/WindowKind.h"
#include "session/CaptureControlsView.h"

namespace vellumix {

namespace {

// The preview frame squeezed into the band of `visible` below or above
// `selection`; empty when the band is too low.
QRectF inBand(const QRectF& selection, const QRectF& visible, bool below) {
    const double top = below ? selection.bottom() : visible.top();
    const double bottom = below ? visible.bottom() : selection.top();
    const double margin = FloatingLayout::previewMargin;
    const double height = std::min(bottom - top - margin, FloatingLayout::previewMaximumHeight);
    if (height < CaptureControlsController::minimumHeight) {
        return QRectF();
    }
    const double width = std::min(visible.width(), FloatingLayout::previewMaximumWidth);
    const double x = std::clamp(selection.right() - width, visible.left(), visible.right() - width);
    const double y = below ? top + margin : bottom - margin - height;
    return QRectF(x, y, width, height);
}

} // namespace

QRectF CaptureControlsController::panelFrame(const CaptureRegion& region,
                                             const QList<DisplayInfo>& displays) {
    if (displays.isEmpty()) {
        return FloatingLayout::previewFrame(region.rect, region.rect);
    }
    const DisplayInfo display = findDisplay(displays, region.displayID).value_or(displays.front());
    const QRectF selection = region.rect.translated(display.frame.topLeft());
    const QRectF& visible = display.visibleFrame;
    const QRectF beside = FloatingLayout::previewFrame(selection, visible);
    if (!beside.intersects(selection)) {
        return beside;
    }
    for (const QRectF& band :
         {inBand(selection, visible, true), inBand(selection, visible, false)}) {
        if (!band.isEmpty()) {
            return band;
        }
    }
    for (const DisplayInfo& other : displays) {
        if (other.id != display.id) {
            const QRectF& area = other.visibleFrame;
            return FloatingLayout::previewFrame(QRectF(area.topRight(), QSizeF()), area);
        }
    }
    return beside;
}

CaptureControlsController::CaptureControlsController(CaptureSession& session,
                                                     const CaptureRegion& region,
                                                     const DisplaySource& displays,
                                                     OverlaySurfaces& overlays)
    : m_overlays(overlays), m_panel(new CaptureControlsView(session)) {
    windowkind::makeFloatingPanel(m_panel);
    m_panel->setWindowTitle(QStringLiteral("Scrolling capture · Live preview"));
    m_panel->setObjectName(QStringLiteral("Vellumix.scrollPreview"));
    m_panel->setGeometry(panelFrame(region, displays.displays()).toAlignedRect());
    m_overlays.showFloating(m_panel);
    windowkind::showOnAllDesktops(m_panel);
    m_panel->raise();
}

// The panel may be the one whose button ended the capture, so it goes at the
// next turn of the event loop.
CaptureControlsView* CaptureControlsController::panel() const {
    return m_panel;
}

CaptureControlsController::~CaptureControlsController() {
    if (m_panel != nullptr) {
        m_overlays.hide(m_panel);
        m_panel->deleteLater();
    }
}

} // namespace vellumix
