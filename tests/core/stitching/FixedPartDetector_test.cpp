#include "stitching/FixedPartDetector.h"
#include "stitching/MovingPartMatcher.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace vellumix {

void PrintTo(const FixedParts& p, std::ostream* os) {
    *os << "top " << p.top << " bottom " << p.bottom << " left " << p.left << " right " << p.right;
}

namespace {

constexpr int64_t kWidth = 32;
constexpr int64_t kHeight = 120;
constexpr int64_t kScroll = 25;

using Pixels = std::vector<uint8_t>;
// Paints what stays put into a frame's grey levels; the flag tells the later
// frame of the two.
using Paint = std::function<void(Pixels&, bool stuck)>;

// Two frames of a page of unlike rows, the second scrolled by kScroll, with
// `paint` applied to both.
std::pair<FrameSignature, FrameSignature> framePair(const Paint& paint) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> grey(20, 235);
    Pixels page(static_cast<size_t>((kHeight + kScroll) * kWidth));
    for (auto& p : page) {
        p = static_cast<uint8_t>(grey(rng));
    }
    auto frame = [&](int64_t top, bool stuck) {
        Pixels pixels(page.begin() + top * kWidth, page.begin() + (top + kHeight) * kWidth);
        paint(pixels, stuck);
        return FrameSignature(kWidth, kHeight, std::move(pixels));
    };
    return {frame(0, false), frame(kScroll, true)};
}

// Rows [firstRow, endRow) get a pattern of their own that does not scroll.
Paint band(int64_t firstRow, int64_t endRow) {
    return [=](Pixels& pixels, bool) {
        for (int64_t r = firstRow; r < endRow; ++r) {
            for (int64_t c = 0; c < kWidth; ++c) {
                pixels[size_t(r * kWidth + c)] = uint8_t(40 + (r * 13 + c * 29) % 150);
            }
        }
    };
}

Paint flatColumns(int64_t columns) {
    return [=](Pixels& pixels, bool) {
        for (int64_t r = 0; r < kHeight; ++r) {
            std::fill_n(pixels.begin() + r * kWidth, columns, uint8_t(250));
        }
    };
}

// A blank margin looks the same wherever the page scrolled; it is no sidebar.
TEST(FixedPartDetector, flatColumnsAndFramesWithoutFixedPartsFindNothing) {
    const auto [previous, next] = framePair(flatColumns(3));
    EXPECT_EQ(FixedPartDetector::detect(previous, next), FixedParts{});
    const auto [plainPrevious, plainNext] = framePair([](Pixels&, bool) {});
    EXPECT_EQ(FixedPartDetector::detect(plainPrevious, plainNext), FixedParts{});
    EXPECT_EQ(FixedPartDetector::detect(plainPrevious, plainPrevious), FixedParts{});
}

// Rows held back from the previous frame stay out of the match even when the
// new frame shows content there: the footer went away.
TEST(MovingPartMatcher, heldRowsOfAFooterThatWentAreLeftOut) {
    const FrameSignature previous = framePair(band(100, kHeight)).first;
    const FrameSignature next = framePair([](Pixels&, bool) {}).second;
    EXPECT_EQ(MovingPartMatcher().match(previous, next, 0).decision.kind(),
              MatchDecision::Kind::reject);
    const MovingPartMatcher::Result result = MovingPartMatcher().match(previous, next, 20);
    EXPECT_EQ(result.decision, MatchDecision::append(kScroll));
    EXPECT_EQ(result.parts, FixedParts{});
}

} // namespace
} // namespace vellumix
