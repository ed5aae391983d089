#pragma once

#include "capture/CaptureRegion.h"
#include "platform/DisplayInfo.h"

#include <QJsonObject>

namespace vellumix {

// The region an automation request names with "display" (a display id from
// "displays.list") and "rect" ([x, y, width, height] in that display's
// points). Throws APIError: "invalid_display" unless "display" is a whole
// number from 1 to 2^32 - 1 naming an attached display, the image API's
// "invalid_arguments" for a malformed "rect", "invalid_region" when the
// rectangle does not lie wholly inside the display.
CaptureRegion regionArgument(const QJsonObject& arguments, const QList<DisplayInfo>& displays);

} // namespace vellumix
