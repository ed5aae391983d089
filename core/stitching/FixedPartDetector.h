#pragma once

#include "stitching/FixedParts.h"
#include "stitching/FrameSignature.h"

#include <cstdint>

namespace vellumix {

// Finds what did not move between two frames of the same size: rows at the
// top and bottom, then columns at either side, that are the same in both at
// the same place (but for what a window redraws in place), and a block (a
// badge) at either side.
class FixedPartDetector final {
public:
    // A block is a column of cells, within the outer quarter of the moving
    // columns, that are the same in both frames for at least this many rows,
    // not counting cells of the row's own background, which stay alike
    // wherever the content scrolls.
    static constexpr int64_t shortestBlock = 12;
    static constexpr int64_t blockZoneDivisor = 4;
    // Rows added around a block, whose antialiased edge may be averaged with
    // moving content in the signature's cells.
    static constexpr int64_t blockMargin = 2;
    // A row or column stayed put when at most one cell in this many differs
    // by more than this many grey levels.
    static constexpr int64_t redrawnShare = 32;
    static constexpr int redrawnLevels = 3;
    // Side columns that stayed put and show something from within this
    // part of the rows' top are a sidebar however short.
    static constexpr int64_t sidebarTopDivisor = 4;

    static FixedParts detect(const FrameSignature& previous, const FrameSignature& next);

    // `parts` with the tallest block beside the moving part joined to the
    // band on its nearer side, so that the rows beside it are matched and
    // appended only once they have scrolled out of its reach. Content that
    // is flat where it overlaps itself looks like a block too, so this is
    // only asked when the part that moves cannot be placed without it.
    static FixedParts withBlock(const FrameSignature& previous, const FrameSignature& next,
                                const FixedParts& parts);
};

} // namespace vellumix
