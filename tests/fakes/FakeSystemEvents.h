#pragma once

#include "platform/SystemEvents.h"

namespace vellumix {

// System events sent when a test says so.
class FakeSystemEvents final : public SystemEvents {
public:
    void sleep() { emit willSleep(); }
    void deactivateSession() { emit sessionBecameInactive(); }
};

} // namespace vellumix
