#include "capture/SteadyClock.h"

#include <chrono>

namespace vellumix {

double SteadyClock::now() const {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

} // namespace vellumix
