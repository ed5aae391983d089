#pragma once

#include "platform/Clock.h"

namespace vellumix {

// A clock that stands still, at the moment it was made, until a test moves
// it. Files get their times from the real clock, so it starts there.
class FakeClock final : public Clock {
public:
    double now() const override { return time; }

    double time = SystemClock().now();
};

} // namespace vellumix
