#include "selection/RegionOutcome.h"

#include "imaging/DocumentError.h"

#include <cmath>

namespace vellumix {

QRect integralRect(const QRectF& rect) {
    const int left = int(std::floor(rect.left()));
    const int top = int(std::floor(rect.top()));
    const int right = int(std::ceil(rect.right()));
    const int bottom = int(std::ceil(rect.bottom()));
    return QRect(QPoint(left, top), QSize(right - left, bottom - top));
}

CaptureChoice resolveRegionOutcome(const DisplayInfo& display, const QImage& frozen,
                                   const QRectF& rect, bool allowsScroll,
                                   LastRegionRecord& record) {
    const double s = display.scale;
    const QRect pixels =
        integralRect(QRectF(rect.x() * s, rect.y() * s, rect.width() * s, rect.height() * s));
    // Like a crop of a platform image, only the part inside the image is
    // kept; nothing inside it is a failure.
    const QRect kept = pixels.intersected(frozen.rect());
    QImage crop = kept.isEmpty() ? QImage() : frozen.copy(kept);
    if (crop.isNull()) {
        return FailedChoice{std::make_exception_ptr(DocumentError(DocumentError::Kind::render))};
    }
    record.store(display, rect, allowsScroll);
    return RegionChoice{CaptureRegion{display.id, rect, s}, std::move(crop), allowsScroll, {}};
}

} // namespace vellumix
