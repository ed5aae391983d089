#pragma once

#include "automation/Clock.h"

namespace vellumix {

// Seconds on a clock that only moves forward, whatever the wall clock does:
// the scrolling capture's time limit must not jump with a clock change.
class SteadyClock final : public Clock {
public:
    double now() const override;
};

} // namespace vellumix
