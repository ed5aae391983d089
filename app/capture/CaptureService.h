#pragma once

#include "capture/CaptureError.h"
#include "capture/CaptureRegion.h"
#include "platform/PlatformServices.h"

#include <QFuture>
#include <QImage>

#include <memory>

namespace vellumix {

// Grabs still frames of one fixed region, again and again. Before every frame
// it checks that the screen may still be read and that the display is still
// there with the same scale and still holds the region, so a capture never
// goes on silently on a changed screen. Lives on the main thread; the grab
// itself runs on a worker thread and the futures finish on the main thread.
class CaptureService final {
public:
    // Fails with CaptureError::displayRemoved when the region's display is
    // not attached.
    static QFuture<std::shared_ptr<CaptureService>> create(const CaptureRegion& region,
                                                           PlatformServices services);

    // One image of the region, of exactly `outputSize()` device pixels.
    // Fails with CaptureError, or with the platform's error unchanged.
    QFuture<QImage> frame() const;

    const CaptureRegion& region() const { return m_region; }
    QSize outputSize() const { return m_outputSize; }

private:
    CaptureService(const CaptureRegion& region, PlatformServices services);

    DisplayInfo checkedDisplay() const;

    CaptureRegion m_region;
    QSize m_outputSize;
    PlatformServices m_services;
};

} // namespace vellumix
