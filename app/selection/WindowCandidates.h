#pragma once

#include "platform/DisplayInfo.h"
#include "platform/WindowSource.h"
#include "selection/WindowCandidate.h"

#include <QList>

// Which on-screen windows the overlay offers.
namespace vellumix::windowcandidates {

// Windows smaller than this in either direction (points) are never offered.
inline constexpr double minimumSide = 80;

// The windows a user may pick, in the given (front-most first) order: normal
// windows (layer 0) of another process that belong to an application and are
// at least `minimumSide` points wide and high.
QList<WindowInfo> capturable(const QList<WindowInfo>& windows);
// Those of `source`'s windows; none where the platform cannot list windows
// (most Wayland desktops), so the overlay still offers regions.
QList<WindowInfo> capturable(const WindowSource& source);

// Those of `windows` that lie wholly on `display`, with their frames moved
// into the display's own space.
QList<WindowCandidate> on(const DisplayInfo& display, const QList<WindowInfo>& windows);

} // namespace vellumix::windowcandidates
