#pragma once

#include <exception>

namespace vellumix {

// Thrown by work that stopped because its caller cancelled it. It is a type of
// its own so that callers tell a cancellation (report nothing) from a failure
// (report it) by the catch clause alone.
class CancellationError final : public std::exception {
public:
    const char* what() const noexcept override { return "The operation was cancelled."; }
};

} // namespace vellumix
