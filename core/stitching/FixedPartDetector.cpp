#include "stitching/FixedPartDetector.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace vellumix {

namespace {

// Two signatures seen cell by cell at the same place.
class SamePlace final {
public:
    SamePlace(const FrameSignature& previous, const FrameSignature& next)
        : m_a(previous.pixels().data()), m_b(next.pixels().data()), m_width(previous.width()) {}

    bool row(int64_t r) const {
        return std::memcmp(m_a + r * m_width, m_b + r * m_width, size_t(m_width)) == 0;
    }
    bool column(int64_t c, int64_t firstRow, int64_t endRow) const {
        for (int64_t r = firstRow; r < endRow; ++r) {
            if (!cell(r, c)) {
                return false;
            }
        }
        return true;
    }
    // Whether rows [first, end) show anything but one grey level each.
    bool rowsVary(int64_t first, int64_t end) const {
        for (int64_t r = first; r < end; ++r) {
            const uint8_t* row = m_b + r * m_width;
            if (std::any_of(row, row + m_width, [&](uint8_t v) { return v != row[0]; })) {
                return true;
            }
        }
        return false;
    }
    // Whether columns [first, end) show anything but one grey level each
    // between the rows.
    bool columnsVary(int64_t first, int64_t end, int64_t firstRow, int64_t endRow) const {
        for (int64_t r = firstRow + 1; r < endRow; ++r) {
            for (int64_t c = first; c < end; ++c) {
                if (value(r, c) != value(firstRow, c)) {
                    return true;
                }
            }
        }
        return false;
    }
    bool cell(int64_t r, int64_t c) const { return m_a[r * m_width + c] == m_b[r * m_width + c]; }
    uint8_t value(int64_t r, int64_t c) const { return m_b[r * m_width + c]; }

private:
    const uint8_t* m_a;
    const uint8_t* m_b;
    int64_t m_width;
};

// The most common grey level of the new frame: the page's background, which
// looks the same at the same place wherever the content scrolled.
uint8_t background(const FrameSignature& next) {
    std::array<uint64_t, 256> counts{};
    for (uint8_t v : next.pixels()) {
        ++counts[v];
    }
    return uint8_t(std::max_element(counts.begin(), counts.end()) - counts.begin());
}

struct Span {
    int64_t first = 0;
    int64_t end = 0;
    int64_t length() const { return end - first; }
};

// The tallest run of rows in which one column, within the outer part of the
// moving columns on either side, is the same in both frames and is not the
// row's background. Moving content matches itself at the same place only by
// chance, and hardly ever in one column for several rows on end, except
// where it is one flat colour.
Span tallestBlock(const SamePlace& cells, uint8_t pageBackground, Span rows, Span columns) {
    const int64_t zoneWidth =
        std::min(columns.length(),
                 std::max<int64_t>(1, columns.length() / FixedPartDetector::blockZoneDivisor));
    std::vector<int64_t> zone;
    for (int64_t i = 0; i < zoneWidth; ++i) {
        zone.push_back(columns.first + i);
        if (columns.end - 1 - i >= columns.first + zoneWidth) {
            zone.push_back(columns.end - 1 - i);
        }
    }
    std::vector<int64_t> runStart(zone.size(), rows.first);
    Span best;
    for (int64_t r = rows.first; r < rows.end; ++r) {
        // A row the same all across is a band of stripes that the scroll
        // happened to bring in step, not a block beside moving content.
        const bool wholeRow = cells.row(r);
        for (size_t i = 0; i < zone.size(); ++i) {
            const int64_t c = zone[i];
            if (wholeRow || !cells.cell(r, c) || cells.value(r, c) == pageBackground) {
                runStart[i] = r + 1;
            } else if (r + 1 - runStart[i] > best.length()) {
                best = {runStart[i], r + 1};
            }
        }
    }
    return best;
}

} // namespace

// Rows or columns of one grey level (a margin, a blank stretch of the page)
// look the same in two frames wherever the content scrolled, so they only
// count as fixed next to something that has a shape.
FixedParts FixedPartDetector::detect(const FrameSignature& previous, const FrameSignature& next) {
    const int64_t h = previous.height();
    const int64_t w = previous.width();
    const SamePlace cells(previous, next);
    FixedParts parts;
    while (parts.top < h && cells.row(parts.top)) {
        ++parts.top;
    }
    if (parts.top == h) {
        return {};
    }
    while (cells.row(h - 1 - parts.bottom)) {
        ++parts.bottom;
    }
    parts.top = cells.rowsVary(0, parts.top) ? parts.top : 0;
    parts.bottom = cells.rowsVary(h - parts.bottom, h) ? parts.bottom : 0;
    const Span rows{parts.top, h - parts.bottom};
    while (cells.column(parts.left, rows.first, rows.end)) {
        ++parts.left;
    }
    while (cells.column(w - 1 - parts.right, rows.first, rows.end)) {
        ++parts.right;
    }
    parts.left = cells.columnsVary(0, parts.left, rows.first, rows.end) ? parts.left : 0;
    parts.right = cells.columnsVary(w - parts.right, w, rows.first, rows.end) ? parts.right : 0;
    return parts;
}

FixedParts FixedPartDetector::withBlock(const FrameSignature& previous, const FrameSignature& next,
                                        const FixedParts& parts) {
    const int64_t h = previous.height();
    const Span block =
        tallestBlock(SamePlace(previous, next), background(next), {parts.top, h - parts.bottom},
                     {parts.left, previous.width() - parts.right});
    if (block.length() < shortestBlock) {
        return parts;
    }
    // The block joins the band on its nearer side.
    FixedParts joined = parts;
    if (block.first < h - block.end) {
        joined.top = std::min(h, block.end + blockMargin);
    } else {
        joined.bottom = std::min(h, h - block.first + blockMargin);
    }
    return joined;
}

} // namespace vellumix
