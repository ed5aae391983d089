#pragma once

#include "stitching/FrameSignature.h"
#include "stitching/MatchDecision.h"

#include <cstdint>
#include <vector>

namespace vellumix {

// Decides how far the content under a fixed region scrolled between two
// frames. It prefers refusing to guessing: a wrong seam silently duplicates or
// drops rows, a refusal only asks the user to scroll back a little.
class VerticalMatcher final {
public:
    // Grey-level thresholds and search bounds.
    static constexpr double duplicateThreshold = 0.35;
    static constexpr int64_t shortestHeight = 33;
    static constexpr int64_t shortMinimumOverlap = 32;
    static constexpr int64_t shortFrameHeight = 128;
    static constexpr int64_t coarseRowSamples = 48;
    static constexpr int64_t coarseColumnStep = 4;
    static constexpr size_t fineCandidates = 32;
    static constexpr double acceptableScore = 2.0;
    static constexpr int64_t sameSeamTolerance = 2;
    static constexpr double ambiguityFactor = 3.0;
    static constexpr double ambiguityFloor = 0.25;
    static constexpr double badRowMean = 6.0;
    static constexpr double seamMean = 2.0;

    static constexpr const char* sizeChangedMessage =
        "The image size changed. Select a new region.";
    static constexpr const char* tooShortMessage = "The selection is too short to stitch reliably.";
    static constexpr const char* noOverlapMessage =
        "No reliable overlap. Scroll back to captured content, then move down by less than half "
        "a screen.";
    static constexpr const char* repetitiveMessage =
        "The content is too repetitive to find a seam. Select a smaller region or capture one "
        "frame at a time.";
    static constexpr const char* reverseMessage =
        "Reverse scrolling detected. Return to the last captured position, then continue "
        "downward.";
    static constexpr const char* overlapChangedMessage =
        "Overlapping content changed. Capture paused to avoid missing rows.";

    struct Candidate {
        int64_t offset;
        double score;
    };

    MatchDecision match(const FrameSignature& previous, const FrameSignature& next) const;

    // The steps of the search, open so that their order and bounds can be
    // checked on their own. Offsets are in rows; a positive offset means
    // previous row offset + r shows what next row r shows.
    static int64_t largestOffset(int64_t height);
    static std::vector<Candidate> coarseCandidates(const FrameSignature& previous,
                                                   const FrameSignature& next);
    static std::vector<Candidate> fineCandidatesOf(const FrameSignature& previous,
                                                   const FrameSignature& next,
                                                   const std::vector<Candidate>& coarse);
    static bool ambiguous(const std::vector<Candidate>& fine);
    static bool selfSimilar(const FrameSignature& previous, const Candidate& best);
    static bool seamHolds(const FrameSignature& previous, const FrameSignature& next,
                          int64_t offset);
};

} // namespace vellumix
