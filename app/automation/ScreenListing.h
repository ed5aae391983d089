#pragma once

#include "platform/DisplayInfo.h"
#include "platform/WindowInfo.h"

#include <QJsonArray>

// The displays and windows as automation callers see them.
namespace vellumix::ScreenListing {

// One object per display, in the platform's order: "id", "width" and
// "height" in points, "scale", and "appKitFrame", the frame in global points
// with the origin at the primary display's bottom-left corner.
QJsonArray displays(const QList<DisplayInfo>& displays);

// One object per window whose title contains `titleFilter` (case-sensitive;
// empty keeps all), in the given order: "id", "title", "app", the "display"
// holding most of it with that display's "displayFrame", and "rect", the
// window's frame in that display's own points. A window on no display gets
// display 0, frame [0, 0, 0, 0] and its global frame.
QJsonArray windows(const QList<WindowInfo>& windows, const QList<DisplayInfo>& displays,
                   const QString& titleFilter);

} // namespace vellumix::ScreenListing
