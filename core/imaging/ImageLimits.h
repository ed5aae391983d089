#pragma once

#include <cstdint>

// The largest picture the app makes: a long document, a composition of
// windows.
namespace vellumix::ImageLimits {

inline constexpr int64_t maximumSide = 30000;
inline constexpr int64_t maximumPixels = 90'000'000;

} // namespace vellumix::ImageLimits
