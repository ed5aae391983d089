#pragma once

#include "platform/WindowSource.h"
#include "selection/CaptureChoice.h"
#include "selection/FrozenDisplay.h"
#include "selection/WindowCandidate.h"

namespace vellumix {

// At most this many pixels in all for the windows of one choice.
inline constexpr qint64 maximumWindowPixels = 90'000'000;

// Turns windows chosen on one frozen display into the overlay's outcome: one
// picture of them as they stand, at the display's scale. Each window's pixels
// are its own where the window source keeps covered windows whole (a
// compositing manager runs); otherwise they are cut from the frozen picture,
// which is what the user saw. Too many pixels, a window that cannot be read
// and a picture that cannot be composed yield a FailedChoice.
CaptureChoice resolveWindowsOutcome(const FrozenDisplay& frozen,
                                    const QList<WindowCandidate>& windows, WindowSource& source);

} // namespace vellumix
