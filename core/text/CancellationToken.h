#pragma once

#include "text/CancellationError.h"

#include <atomic>

namespace vellumix {

// A flag that one thread raises and the thread doing the work polls. The owner
// keeps it alive for as long as the work runs (for example in a shared_ptr
// held by both sides); it cannot be copied and is never lowered again.
class CancellationToken final {
public:
    CancellationToken() = default;
    CancellationToken(const CancellationToken&) = delete;
    CancellationToken& operator=(const CancellationToken&) = delete;

    void cancel() noexcept { m_cancelled.store(true, std::memory_order_release); }
    bool isCancelled() const noexcept { return m_cancelled.load(std::memory_order_acquire); }

    void throwIfCancelled() const {
        if (isCancelled()) {
            throw CancellationError();
        }
    }

private:
    std::atomic<bool> m_cancelled{false};
};

} // namespace vellumix
