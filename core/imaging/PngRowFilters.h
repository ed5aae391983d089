#pragma once

#include <cstddef>
#include <cstdint>

namespace vellumix {

// PNG's five row filters (none, sub, up, average, paeth) over `length` bytes
// of pixels `bytesPerPixel` wide.
enum class PngFilter : uint8_t { none, sub, up, average, paeth };

// Undoes the filter `type` of one row in place; `previous` is the row above,
// already unfiltered, or zeros for the first row. Returns false for a type
// that is not a PNG filter.
bool unfilterPngRow(uint8_t type, uint8_t* row, const uint8_t* previous, size_t length,
                    int bytesPerPixel);

} // namespace vellumix
