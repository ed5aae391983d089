#pragma once

#include "capture/CaptureRegion.h"
#include "platform/DisplaySource.h"
#include "platform/OverlaySurfaces.h"

#include <QPointer>
#include <QRectF>

namespace vellumix {

class CaptureControlsView;
class CaptureSession;

// Owns the floating panel of a scrolling capture: shows it at once beside
// the region, on every desktop, without taking the focus from the window
// being scrolled; closes it when destroyed.
class CaptureControlsController final {
public:
    CaptureControlsController(CaptureSession& session, const CaptureRegion& region,
                              const DisplaySource& displays, OverlaySurfaces& overlays);
    ~CaptureControlsController();
    CaptureControlsController(const CaptureControlsController&) = delete;
    CaptureControlsController& operator=(const CaptureControlsController&) = delete;

    CaptureControlsView* panel() const;

    // The panel's frame in global points. Beside the region on its display
    // (the first display when it is gone); where that would cover the region,
    // above or below it, then on another display, because a panel over the
    // region would have to be withdrawn for every grab and would flicker.
    // Only when no place is free does it lie over the region.
    static QRectF panelFrame(const CaptureRegion& region, const QList<DisplayInfo>& displays);

    // Below this height the panel has no room left for its preview.
    static constexpr double minimumHeight = 240;

private:
    OverlaySurfaces& m_overlays;
    QPointer<CaptureControlsView> m_panel;
};

} // namespace vellumix
