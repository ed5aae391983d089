#pragma once

#include "platform/DisplayInfo.h"
#include "selection/CaptureChoice.h"
#include "selection/LastRegionRecord.h"

namespace vellumix {

// Turns a rectangle chosen on a frozen display into the overlay's outcome:
// crops the frozen image to the rectangle's integral pixel rectangle, stores
// the choice as the last region, and yields a RegionChoice; a crop that fails
// yields a FailedChoice with the document's render error and stores nothing.
CaptureChoice resolveRegionOutcome(const DisplayInfo& display, const QImage& frozen,
                                   const QRectF& rect, bool allowsScroll, LastRegionRecord& record);

// The smallest rectangle with integer edges that encloses `rect`.
QRect integralRect(const QRectF& rect);

} // namespace vellumix
