#pragma once

namespace vellumix {

// Wall-clock time, behind an interface so that tests can move it: request
// freshness, response clean-up and idle scroll sessions are measured in it.
class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since 1970-01-01 00:00 UTC.
    virtual double now() const = 0;
};

class SystemClock final : public Clock {
public:
    double now() const override;
};

} // namespace vellumix
