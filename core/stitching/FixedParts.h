#pragma once

#include <cstdint>

namespace vellumix {

// What stays put on screen while the content beneath it scrolls: a band of
// rows at the top (a sticky header), a band at the bottom (a sticky footer,
// a cookie bar, or the rows of a badge in a lower corner) and columns at
// either side (a fixed table of contents). Bands are in frame rows; side
// columns are in signature columns, because only the matcher uses them.
struct FixedParts {
    int64_t top = 0;
    int64_t bottom = 0;
    int64_t left = 0;
    int64_t right = 0;

    bool any() const { return top > 0 || bottom > 0 || left > 0 || right > 0; }
    friend bool operator==(const FixedParts&, const FixedParts&) = default;
};

} // namespace vellumix
