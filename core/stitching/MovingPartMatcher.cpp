#include "stitching/MovingPartMatcher.h"

#include "stitching/FixedPartDetector.h"

#include <algorithm>
#include <cstdlib>

namespace vellumix {

namespace {

// Rows of `next` in the overlap at `offset` that differ from `previous` as a
// bad row of the seam check does; the index past the last one, and how many.
struct BadRows {
    int64_t end = 0;
    int64_t count = 0;
};

BadRows badRowsAt(const FrameSignature& previous, const FrameSignature& next, int64_t offset) {
    const int64_t w = previous.width();
    const int64_t n = previous.height() - offset;
    const uint8_t* a = previous.pixels().data() + offset * w;
    const uint8_t* b = next.pixels().data();
    BadRows bad;
    for (int64_t r = 0; r < n; ++r) {
        uint64_t sum = 0;
        for (int64_t c = 0; c < w; ++c) {
            sum += static_cast<uint64_t>(std::abs(int(a[r * w + c]) - int(b[r * w + c])));
        }
        if (static_cast<double>(sum) / static_cast<double>(w) > VerticalMatcher::badRowMean) {
            bad.end = r + 1;
            ++bad.count;
        }
    }
    return bad;
}

} // namespace

std::optional<FrameSignature> MovingPartMatcher::movingPart(const FrameSignature& signature,
                                                            const FixedParts& parts) {
    const int64_t w = signature.width();
    const int64_t left = parts.left > 0 ? parts.left + 1 : 0;
    const int64_t right = parts.right > 0 ? parts.right + 1 : 0;
    const int64_t rows = signature.height() - parts.top - parts.bottom;
    const int64_t columns = w - left - right;
    if (rows < 1 || columns < 1) {
        return std::nullopt;
    }
    std::vector<uint8_t> pixels(static_cast<size_t>(rows * columns));
    for (int64_t r = 0; r < rows; ++r) {
        const uint8_t* from = signature.pixels().data() + (parts.top + r) * w + left;
        std::copy(from, from + columns, pixels.begin() + r * columns);
    }
    return FrameSignature(columns, rows, std::move(pixels));
}

MatchDecision MovingPartMatcher::matchInside(const FrameSignature& previous,
                                             const FrameSignature& next, const FixedParts& parts,
                                             int64_t heldRows) const {
    FixedParts excluded = parts;
    excluded.bottom = std::max(parts.bottom, heldRows);
    const std::optional<FrameSignature> a = movingPart(previous, excluded);
    const std::optional<FrameSignature> b = movingPart(next, excluded);
    if (!a || !b) {
        return MatchDecision::reject(VerticalMatcher::noOverlapMessage);
    }
    return m_matcher.match(*a, *b);
}

// The candidates of the search on the whole frame are tried for a seam that
// holds below some top rows and fails in most of them: a header that stuck
// to the top as the page scrolled, covering content it did not cover before.
std::optional<MovingPartMatcher::NewBand>
MovingPartMatcher::newTopBand(const FrameSignature& previous, const FrameSignature& next) {
    const int64_t h = previous.height();
    if (h < VerticalMatcher::shortestHeight) {
        return std::nullopt;
    }
    const auto fine = VerticalMatcher::fineCandidatesOf(
        previous, next, VerticalMatcher::coarseCandidates(previous, next));
    std::optional<NewBand> best;
    for (const VerticalMatcher::Candidate& candidate : fine) {
        if (candidate.offset < 1) {
            continue;
        }
        const BadRows bad = badRowsAt(previous, next, candidate.offset);
        if (bad.end >= shortestNewBand && bad.end <= h / newBandDivisor &&
            2 * bad.count >= bad.end && (!best || bad.end < best->rows)) {
            best = NewBand{bad.end, candidate.offset};
        }
    }
    return best;
}

MovingPartMatcher::Result MovingPartMatcher::match(const FrameSignature& previous,
                                                   const FrameSignature& next, int64_t heldRows,
                                                   const FrameSignature* recent) const {
    if (previous.width() != next.width() || previous.height() != next.height()) {
        return {MatchDecision::reject(VerticalMatcher::sizeChangedMessage), {}};
    }
    FixedParts parts = FixedPartDetector::detect(previous, next);
    // Held rows beyond the band of identical rows were beside a badge, or
    // the footer went; only a badge still in place tells the two apart.
    const bool heldBeyondBand = heldRows > parts.bottom;
    if (heldBeyondBand) {
        parts = FixedPartDetector::withBlock(previous, next, parts);
    }
    const MatchDecision decision = parts.any() || heldRows > 0
                                       ? matchInside(previous, next, parts, heldRows)
                                       : m_matcher.match(previous, next);
    if (decision.kind() == MatchDecision::Kind::append) {
        return withBadge(previous, next, {decision, parts}, heldRows);
    }
    if (decision.kind() != MatchDecision::Kind::reject) {
        return {decision, parts};
    }
    if (std::optional<Result> since = matchSinceRecent(previous, next, parts, heldRows, recent)) {
        return *since;
    }
    const FixedParts blocked = FixedPartDetector::withBlock(previous, next, parts);
    if (!heldBeyondBand && blocked != parts) {
        const MatchDecision around = matchInside(previous, next, blocked, heldRows);
        if (around.kind() == MatchDecision::Kind::append) {
            return {around, blocked};
        }
    }
    if (parts.top == 0) {
        if (std::optional<Result> stuck = matchBelowNewBand(previous, next, parts, heldRows)) {
            return *stuck;
        }
    }
    return {decision, parts};
}

std::optional<MovingPartMatcher::Result>
MovingPartMatcher::matchBelowNewBand(const FrameSignature& previous, const FrameSignature& next,
                                     const FixedParts& parts, int64_t heldRows) const {
    FixedParts below = parts;
    below.bottom = std::max(parts.bottom, heldRows);
    const std::optional<FrameSignature> a = movingPart(previous, below);
    const std::optional<FrameSignature> b = movingPart(next, below);
    const std::optional<NewBand> band = a && b ? newTopBand(*a, *b) : std::nullopt;
    if (!band) {
        return std::nullopt;
    }
    FixedParts banded = parts;
    banded.top = band->rows;
    const MatchDecision decision = matchInside(previous, next, banded, heldRows);
    if (decision != MatchDecision::append(band->offset)) {
        return std::nullopt;
    }
    return Result{decision, banded};
}

MovingPartMatcher::Result MovingPartMatcher::withBadge(const FrameSignature& previous,
                                                       const FrameSignature& next,
                                                       const Result& appended,
                                                       int64_t heldRows) const {
    // The badge may stand over a margin that stayed put beside it and was
    // taken for a sidebar, so it is looked for across the whole width.
    const FixedParts bands{appended.parts.top, appended.parts.bottom, 0, 0};
    FixedParts blocked = appended.parts;
    blocked.bottom = FixedPartDetector::withBlock(previous, next, bands).bottom;
    if (blocked.bottom <= appended.parts.bottom ||
        matchInside(previous, next, blocked, heldRows) != appended.decision) {
        return appended;
    }
    return {appended.decision, blocked, appended.sinceRecent};
}

// The recent frame must have the size of the others; one of another size is
// no help and the whole match says why.
std::optional<MovingPartMatcher::Result>
MovingPartMatcher::matchSinceRecent(const FrameSignature& previous, const FrameSignature& next,
                                    const FixedParts& parts, int64_t heldRows,
                                    const FrameSignature* recent) const {
    if (!recent || recent->width() != next.width() || recent->height() != next.height()) {
        return std::nullopt;
    }
    const FixedParts found = FixedPartDetector::detect(*recent, next);
    const FixedParts since{std::max(parts.top, found.top), std::max(parts.bottom, found.bottom),
                           std::max(parts.left, found.left), std::max(parts.right, found.right)};
    if (since == parts) {
        return std::nullopt;
    }
    const MatchDecision decision = matchInside(previous, next, since, heldRows);
    if (decision.kind() != MatchDecision::Kind::append) {
        return std::nullopt;
    }
    return Result{decision, since, true};
}

} // namespace vellumix
