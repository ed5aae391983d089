#pragma once

#include <QRectF>
#include <QSize>

namespace vellumix {

// A region of one display: `rect` is in the display's own logical points
// (top-left origin, y downward), `scale` the display's device pixels per point
// when the region was chosen.
struct CaptureRegion {
    quint32 displayID = 0;
    QRectF rect;
    double scale = 1.0;

    // `rect`'s size times `scale`, each side rounded to the nearest whole
    // pixel with halves away from zero.
    QSize pixelSize() const;
    // The region's pixels on a display of `bounds` device pixels, of
    // pixelSize(). Rounding may carry a region that ends at the display's
    // edge one pixel past it; such a region moves back rather than shrink.
    QRect pixelRect(QSize bounds) const;

    friend bool operator==(const CaptureRegion&, const CaptureRegion&) = default;
};

} // namespace vellumix
