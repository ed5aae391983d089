#include "automation/Clock.h"

#include <chrono>

namespace vellumix {

double SystemClock::now() const {
    const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration<double>(sinceEpoch).count();
}

} // namespace vellumix
