#include "stitching/VerticalMatcher.h"

#include <algorithm>
#include <cstdlib>

namespace vellumix {

namespace {

struct OverlapSum {
    uint64_t sum = 0;
    uint64_t count = 0;
};

// Sum of |a - b| over `rows` rows of two blocks of width w, visiting rows and
// columns with the given steps, and the number of samples taken.
OverlapSum blockSum(const uint8_t* a, const uint8_t* b, int64_t rows, int64_t w, int64_t rowStep,
                    int64_t columnStep) {
    OverlapSum total;
    for (int64_t r = 0; r < rows; r += rowStep) {
        const uint8_t* rowA = a + r * w;
        const uint8_t* rowB = b + r * w;
        for (int64_t c = 0; c < w; c += columnStep) {
            total.sum += static_cast<uint64_t>(std::abs(int(rowA[c]) - int(rowB[c])));
            ++total.count;
        }
    }
    return total;
}

// The overlap at `offset`: previous row max(offset, 0) + r against next row
// max(-offset, 0) + r.
OverlapSum overlapSum(const FrameSignature& previous, const FrameSignature& next, int64_t offset,
                      int64_t rowStep, int64_t columnStep) {
    const int64_t w = previous.width();
    return blockSum(previous.pixels().data() + std::max<int64_t>(offset, 0) * w,
                    next.pixels().data() + std::max<int64_t>(-offset, 0) * w,
                    previous.height() - std::abs(offset), w, rowStep, columnStep);
}

double score(const OverlapSum& s) {
    return static_cast<double>(s.sum) / static_cast<double>(s.count);
}

void sortByScore(std::vector<VerticalMatcher::Candidate>& candidates) {
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const auto& a, const auto& b) { return a.score < b.score; });
}

} // namespace

int64_t VerticalMatcher::largestOffset(int64_t height) {
    const int64_t minimumOverlap = height < shortFrameHeight ? shortMinimumOverlap : height / 4;
    return height - minimumOverlap;
}

std::vector<VerticalMatcher::Candidate>
VerticalMatcher::coarseCandidates(const FrameSignature& previous, const FrameSignature& next) {
    const int64_t h = previous.height();
    const int64_t largest = largestOffset(h);
    std::vector<Candidate> candidates;
    for (int64_t offset = -largest; offset <= largest; ++offset) {
        if (offset == 0) {
            continue;
        }
        const int64_t n = h - std::abs(offset);
        const int64_t rowStep = std::max<int64_t>(1, n / coarseRowSamples);
        candidates.push_back(
            {offset, score(overlapSum(previous, next, offset, rowStep, coarseColumnStep))});
    }
    sortByScore(candidates);
    return candidates;
}

std::vector<VerticalMatcher::Candidate>
VerticalMatcher::fineCandidatesOf(const FrameSignature& previous, const FrameSignature& next,
                                  const std::vector<Candidate>& coarse) {
    const size_t count = std::min(coarse.size(), fineCandidates);
    std::vector<Candidate> fine;
    fine.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const int64_t offset = coarse[i].offset;
        fine.push_back({offset, score(overlapSum(previous, next, offset, 1, 1))});
    }
    sortByScore(fine);
    return fine;
}

// Only the first candidate that is a different seam is looked at: it is the
// strongest rival, and if it is clearly worse every later one is too.
bool VerticalMatcher::ambiguous(const std::vector<Candidate>& fine) {
    const Candidate& best = fine.front();
    for (size_t i = 1; i < fine.size(); ++i) {
        if (std::abs(fine[i].offset - best.offset) > sameSeamTolerance) {
            return fine[i].score < std::max(ambiguityFactor * best.score, ambiguityFloor);
        }
    }
    return false;
}

// A low mean can hide a band of rows that really changed (a pop-up, a
// reflowed paragraph); those would be lost, so they must be rare.
bool VerticalMatcher::seamHolds(const FrameSignature& previous, const FrameSignature& next,
                                int64_t offset) {
    const int64_t w = previous.width();
    const int64_t n = previous.height() - offset;
    uint64_t total = 0;
    int64_t badRows = 0;
    const uint8_t* a = previous.pixels().data() + offset * w;
    const uint8_t* b = next.pixels().data();
    for (int64_t r = 0; r < n; ++r) {
        uint64_t rowSum = 0;
        for (int64_t c = 0; c < w; ++c) {
            rowSum += static_cast<uint64_t>(std::abs(int(a[r * w + c]) - int(b[r * w + c])));
        }
        total += rowSum;
        if (static_cast<double>(rowSum) / static_cast<double>(w) > badRowMean) {
            ++badRows;
        }
    }
    const int64_t allowedBadRows = n >= 100 ? n / 100 : 1;
    const double mean = static_cast<double>(total) / static_cast<double>(n * w);
    return mean < seamMean && badRows <= allowedBadRows;
}

// The ambiguity check only weighs offsets that were searched. Content that
// matches itself under a shift (a blank band, table rows) matches at offsets
// beyond the searched range too, where the overlap is smaller than the
// minimum: a scroll larger than the range then finds a clean seam near its
// end with no searched rival, and rows would be duplicated. So the overlap of
// the chosen seam must not resemble itself shifted by more than a seam's
// width; a sampled pass finds the candidate shifts, a full pass confirms them.
// A true scroll beyond the range lies more than the range's remainder past
// the chosen seam, so only shifts that far are looked at: a smaller one
// stands for an offset that was searched and weighed by the ambiguity check
// against the next frame itself. Weighing it again here, against the
// previous frame alone, refused good seams whenever the frames differed
// evenly (noise, text rendered again), as that raises the limit but not the
// overlap's likeness to itself.
bool VerticalMatcher::selfSimilar(const FrameSignature& previous, const Candidate& best) {
    const int64_t w = previous.width();
    const int64_t n = previous.height() - best.offset;
    const uint8_t* overlap = previous.pixels().data() + best.offset * w;
    const double limit = std::max(ambiguityFactor * best.score, ambiguityFloor);
    const int64_t beyondRange = largestOffset(previous.height()) - best.offset + 1;
    for (int64_t shift = std::max(sameSeamTolerance + 1, beyondRange); shift <= n / 2; ++shift) {
        const int64_t rows = n - shift;
        const int64_t rowStep = std::max<int64_t>(1, rows / coarseRowSamples);
        const uint8_t* shifted = overlap + shift * w;
        if (score(blockSum(overlap, shifted, rows, w, rowStep, coarseColumnStep)) < 2 * limit &&
            score(blockSum(overlap, shifted, rows, w, 1, 1)) < limit) {
            return true;
        }
    }
    return false;
}

MatchDecision VerticalMatcher::match(const FrameSignature& previous,
                                     const FrameSignature& next) const {
    if (previous.width() != next.width() || previous.height() != next.height()) {
        return MatchDecision::reject(sizeChangedMessage);
    }
    const double unmoved = previous.difference(next);
    if (unmoved < duplicateThreshold) {
        return MatchDecision::duplicate();
    }
    if (previous.height() < shortestHeight) {
        return MatchDecision::reject(tooShortMessage);
    }
    const std::vector<Candidate> fine =
        fineCandidatesOf(previous, next, coarseCandidates(previous, next));
    // Content rendered again (noise, re-rasterised text) differs a little
    // everywhere without moving: when no shift fits better than none and no
    // band of rows changed, nothing moved.
    if (unmoved < acceptableScore && (fine.empty() || unmoved <= fine.front().score) &&
        seamHolds(previous, next, 0)) {
        return MatchDecision::duplicate();
    }
    if (fine.empty() || !(fine.front().score < acceptableScore)) {
        return MatchDecision::reject(noOverlapMessage);
    }
    if (ambiguous(fine)) {
        return MatchDecision::reject(repetitiveMessage);
    }
    const int64_t offset = fine.front().offset;
    if (offset < 1) {
        return MatchDecision::reject(reverseMessage);
    }
    if (selfSimilar(previous, fine.front())) {
        return MatchDecision::reject(repetitiveMessage);
    }
    if (!seamHolds(previous, next, offset)) {
        return MatchDecision::reject(overlapChangedMessage);
    }
    return MatchDecision::append(offset);
}

} // namespace vellumix
