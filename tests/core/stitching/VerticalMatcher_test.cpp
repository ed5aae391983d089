#include "stitching/VerticalMatcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace vellumix {

void PrintTo(const MatchDecision& d, std::ostream* os) {
    *os << "kind " << int(d.kind()) << " rows " << d.rows() << " \"" << d.message().toStdString()
        << "\"";
}

namespace {

constexpr int64_t kWidth = 32;

// Rows of pseudo-random grey levels between 20 and 235, so that a test may
// shift any of them by 10 either way; no two rows are alike.
std::vector<uint8_t> randomRows(int64_t rows, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> grey(20, 235);
    std::vector<uint8_t> pixels(static_cast<size_t>(rows * kWidth));
    for (auto& p : pixels) {
        p = static_cast<uint8_t>(grey(rng));
    }
    return pixels;
}

// A frame of `height` rows showing content rows [top, top + height).
FrameSignature window(const std::vector<uint8_t>& content, int64_t top, int64_t height) {
    const auto begin = content.begin() + top * kWidth;
    return FrameSignature(kWidth, height, {begin, begin + height * kWidth});
}

FrameSignature withRowShifted(const FrameSignature& s, std::initializer_list<int64_t> rows,
                              int delta) {
    std::vector<uint8_t> pixels = s.pixels();
    for (int64_t r : rows) {
        for (int64_t c = 0; c < s.width(); ++c) {
            pixels[static_cast<size_t>(r * s.width() + c)] += static_cast<uint8_t>(delta);
        }
    }
    return FrameSignature(s.width(), s.height(), pixels);
}

// Even frames too short to search are known unmoved when nearly alike. A
// frame rendered again without moving differs a little everywhere: more than
// the threshold for "no change", but less than any shift; a band that
// changed is not noise.
TEST(VerticalMatcher, identicalAndRenderedAgainFramesAreUnmovedButAChangedBandIsNot) {
    const FrameSignature a = window(randomRows(20, 1), 0, 20);
    EXPECT_EQ(VerticalMatcher().match(a, a), MatchDecision::duplicate());
    // 220 of 640 grey levels one step apart: a mean difference of 0.34375.
    std::vector<uint8_t> pixels = a.pixels();
    std::for_each(pixels.begin(), pixels.begin() + 220, [](uint8_t& p) { ++p; });
    EXPECT_EQ(VerticalMatcher().match(a, FrameSignature(kWidth, 20, pixels)),
              MatchDecision::duplicate());

    const FrameSignature previous = window(randomRows(200, 13), 0, 200);
    std::vector<uint8_t> noisy = previous.pixels();
    for (size_t i = 0; i < noisy.size(); ++i) {
        noisy[i] = static_cast<uint8_t>(noisy[i] + (i % 3 == 0 ? 1 : 0) - (i % 7 == 0 ? 1 : 0));
    }
    const FrameSignature next(kWidth, 200, noisy);
    ASSERT_GT(previous.difference(next), VerticalMatcher::duplicateThreshold);
    EXPECT_EQ(VerticalMatcher().match(previous, next), MatchDecision::duplicate());
    EXPECT_EQ(VerticalMatcher().match(previous, withRowShifted(next, {50, 51, 52, 53}, 60)).kind(),
              MatchDecision::Kind::reject);
}

// A size change is refused before any other check.
TEST(VerticalMatcher, sizeChangesAndFramesOf32RowsAreRefusedAnd33RowsFindAOneRowScroll) {
    const std::vector<uint8_t> content = randomRows(100, 3);
    const MatchDecision sizeChanged = MatchDecision::reject(VerticalMatcher::sizeChangedMessage);
    // Same content, so it would otherwise be a duplicate; and too short.
    EXPECT_EQ(VerticalMatcher().match(window(content, 0, 20), window(content, 0, 21)), sizeChanged);
    const FrameSignature narrow(kWidth - 1, 20, std::vector<uint8_t>((kWidth - 1) * 20, 7));
    EXPECT_EQ(VerticalMatcher().match(window(content, 0, 20), narrow), sizeChanged);
    EXPECT_EQ(VerticalMatcher().match(window(content, 0, 32), window(content, 1, 32)),
              MatchDecision::reject(VerticalMatcher::tooShortMessage));

    EXPECT_EQ(VerticalMatcher().match(window(content, 0, 33), window(content, 1, 33)),
              MatchDecision::append(1));
}

// Frames of 120 rows search offsets up to 88.
TEST(VerticalMatcher, contentMovedUpAppendsTheNewRowsAndMovedDownIsRefused) {
    const std::vector<uint8_t> content = randomRows(400, 5);
    for (int64_t scrolled : {40, 85, 86, 87, 88}) {
        EXPECT_EQ(VerticalMatcher().match(window(content, 0, 120), window(content, scrolled, 120)),
                  MatchDecision::append(scrolled));
    }
    EXPECT_EQ(VerticalMatcher().match(window(content, 40, 120), window(content, 0, 120)),
              MatchDecision::reject(VerticalMatcher::reverseMessage));
}

TEST(VerticalMatcher, aBlankBandAtTheEndOfTheSearchRangeIsNotTakenForASeam) {
    // Frames of 120 rows search offsets up to 88. Rows 88 to 159 are blank, so
    // after a scroll of 128 rows the smallest overlap, 32 rows at offset 88,
    // is blank in both frames while every other offset shows content.
    std::vector<uint8_t> content = randomRows(400, 8);
    std::fill(content.begin() + 88 * kWidth, content.begin() + 160 * kWidth, 250);
    EXPECT_EQ(VerticalMatcher().match(window(content, 0, 120), window(content, 128, 120)),
              MatchDecision::reject(VerticalMatcher::repetitiveMessage));
}

TEST(VerticalMatcher, anOverlapThatMatchesItselfShiftedIsNoEvidenceOfASeam) {
    // Stripes with a period of 12 from row 60 on. After a scroll of 96 rows,
    // beyond the range of 88, offsets 60, 72 and 84 line stripes up with
    // stripes; the overlap at 84 alone would match itself a period away.
    std::vector<uint8_t> content = randomRows(400, 10);
    for (int64_t r = 60; r < 300; ++r) {
        std::fill_n(content.begin() + r * kWidth, kWidth, r % 12 < 5 ? 40 : 230);
    }
    EXPECT_EQ(VerticalMatcher().match(window(content, 0, 120), window(content, 96, 120)).kind(),
              MatchDecision::Kind::reject);
    const FrameSignature previous = window(content, 0, 120);
    EXPECT_TRUE(VerticalMatcher::selfSimilar(previous, {84, 0.0}));
    EXPECT_FALSE(VerticalMatcher::selfSimilar(previous, {40, 0.0}));
}

// Table rows 12 apart that differ in one cell in sixteen, the next frame a
// level or two lighter throughout, as a page rendered again can be. The
// overlap is like itself a row away, but less so than its rival seam is like
// the next frame, which the lighter levels add to: the scroll is unique and
// taken, though the lighter levels raise the bar for likeness.
TEST(VerticalMatcher, anEvenChangeBetweenFramesDoesNotMakeAUniqueSeamRepetitive) {
    std::mt19937 rng(12);
    const auto level = [&rng](int low, int high) {
        return static_cast<uint8_t>(std::uniform_int_distribution<int>(low, high)(rng));
    };
    std::vector<uint8_t> row(12 * kWidth);
    std::generate(row.begin(), row.end(), [&] { return level(60, 200); });
    std::vector<uint8_t> content(static_cast<size_t>(400 * kWidth));
    for (size_t i = 0; i < content.size(); ++i) {
        content[i] = level(0, 32) == 0 ? level(0, 255) : row[i % row.size()];
    }
    const FrameSignature previous = window(content, 0, 200);
    for (const int64_t scrolled : {20, 45, 90}) {
        std::vector<uint8_t> lighter = window(content, scrolled, 200).pixels();
        for (size_t i = 0; i < lighter.size(); ++i) {
            lighter[i] = static_cast<uint8_t>(std::min<int>(255, lighter[i] + 1 + int(i % 2)));
        }
        const FrameSignature next(kWidth, 200, lighter);
        EXPECT_EQ(VerticalMatcher().match(previous, next), MatchDecision::append(scrolled));
    }
}

TEST(VerticalMatcher, aBlinkingRowIsToleratedOncePerHundredRowsOfOverlap) {
    const std::vector<uint8_t> content = randomRows(400, 6);
    // 120-row frames scrolled by 40 overlap in 80 rows.
    const FrameSignature prev80 = window(content, 0, 120);
    const FrameSignature next80 = window(content, 40, 120);
    EXPECT_EQ(VerticalMatcher().match(prev80, withRowShifted(next80, {10}, 10)),
              MatchDecision::append(40));
    EXPECT_EQ(VerticalMatcher().match(prev80, withRowShifted(next80, {10, 50}, 10)),
              MatchDecision::reject(VerticalMatcher::overlapChangedMessage));
    // 290-row frames scrolled by 40 overlap in 250 rows: two allowed.
    const FrameSignature prev250 = window(content, 0, 290);
    const FrameSignature next250 = window(content, 40, 290);
    EXPECT_EQ(VerticalMatcher().match(prev250, withRowShifted(next250, {10, 100}, -10)),
              MatchDecision::append(40));
    EXPECT_EQ(VerticalMatcher().match(prev250, withRowShifted(next250, {10, 100, 200}, -10)),
              MatchDecision::reject(VerticalMatcher::overlapChangedMessage));
}

TEST(VerticalMatcher, oneRowOfFullDifferenceSpoilsAnEightyRowSeam) {
    std::vector<uint8_t> content(static_cast<size_t>(200 * kWidth), 0);
    std::vector<uint8_t> changed = content;
    std::fill_n(changed.begin() + 60 * kWidth, kWidth, 255);
    // Row 20 of the 80-row overlap: its mean is 255, the seam mean 3.19.
    EXPECT_FALSE(VerticalMatcher::seamHolds(window(content, 0, 120), window(changed, 40, 120), 40));
    EXPECT_TRUE(VerticalMatcher::seamHolds(window(content, 0, 120), window(content, 40, 120), 40));
}

} // namespace
} // namespace vellumix
