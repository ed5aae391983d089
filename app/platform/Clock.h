#pragma once

namespace vellumix {

// Seconds, behind an interface so that tests can move time. What the seconds
// count from belongs to the clock: compare readings of one clock only.
class Clock {
public:
    virtual ~Clock() = default;
    virtual double now() const = 0;
};

// Seconds since 1970-01-01 00:00 UTC, the time files carry: request
// freshness, response clean-up and idle scroll sessions are measured in it.
class SystemClock final : public Clock {
public:
    double now() const override;
};

// Seconds from an arbitrary start that only move forward, whatever the wall
// clock does: the scrolling capture's time limit must not jump with a clock
// change.
class SteadyClock final : public Clock {
public:
    double now() const override;
};

} // namespace vellumix
