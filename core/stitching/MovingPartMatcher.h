#pragma once

#include "stitching/FixedParts.h"
#include "stitching/FrameSignature.h"
#include "stitching/MatchDecision.h"
#include "stitching/VerticalMatcher.h"

#include <cstdint>
#include <optional>

namespace vellumix {

// Matches two frames on the part that scrolls, leaving out what stayed put
// (FixedPartDetector) and a header that has just stuck to the top. The part
// that scrolls goes through VerticalMatcher unchanged, with its constants and
// refusals, so a seam found here is as trustworthy as any other.
class MovingPartMatcher final {
public:
    // A header that appears at the top of the new frame, over content that
    // the previous frame showed there, is between these many rows and a
    // quarter of the frame; at least half of its rows differ from the content
    // it covers.
    static constexpr int64_t shortestNewBand = 8;
    static constexpr int64_t newBandDivisor = 4;

    struct Result {
        MatchDecision decision;
        // What stayed put in the new frame. `bottom` is what the new frame
        // shows at its bottom, whatever was left out of the previous one.
        FixedParts parts;
        // Whether `parts` stayed put since the recent frame rather than
        // since `previous`.
        bool sinceRecent = false;
    };

    // `heldRows`: rows at the bottom of `previous` that were kept out of the
    // document; they are left out of the match whatever this pair shows.
    // `recent`: the frame seen after `previous` and refused, or null. A part
    // that only became fixed after `previous` (a sidebar that scrolled until
    // it stuck, a badge that showed once the page scrolled) stayed put
    // between it and `next`, so it is left out too when the frames cannot
    // be matched otherwise.
    // With nothing to leave out, this is the match of the whole frames.
    Result match(const FrameSignature& previous, const FrameSignature& next, int64_t heldRows,
                 const FrameSignature* recent = nullptr) const;

    // `appended`, the match of an append, with a badge in a lower corner
    // left out as a band is when the match holds without it: a badge too
    // small to spoil the seam would otherwise come into the document with
    // every frame's new rows.
    Result withBadge(const FrameSignature& previous, const FrameSignature& next,
                     const Result& appended, int64_t heldRows) const;

    // The part of a signature inside the bands and side columns, less one
    // column beside each side column, which may be half fixed and half moving.
    static std::optional<FrameSignature> movingPart(const FrameSignature& signature,
                                                    const FixedParts& parts);

private:
    struct NewBand {
        int64_t rows;
        int64_t offset;
    };

    // Matches inside `parts`, leaving out at least `heldRows` at the bottom.
    MatchDecision matchInside(const FrameSignature& previous, const FrameSignature& next,
                              const FixedParts& parts, int64_t heldRows) const;
    std::optional<Result> matchBelowNewBand(const FrameSignature& previous,
                                            const FrameSignature& next, const FixedParts& parts,
                                            int64_t heldRows) const;
    std::optional<Result> matchSinceRecent(const FrameSignature& previous,
                                           const FrameSignature& next, const FixedParts& parts,
                                           int64_t heldRows, const FrameSignature* recent) const;
    static std::optional<NewBand> newTopBand(const FrameSignature& previous,
                                             const FrameSignature& next);

    VerticalMatcher m_matcher;
};

} // namespace vellumix
