#include "stitching/FixedPartDetector.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <utility>
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
    // Whether a row or a column is the same in both frames but for a few
    // cells: what a real window redraws in place (a caret, a hover
    // highlight, a scrollbar's thumb beside a band) covers a few cells of a
    // row or column, and text rasterised again changes cells by a level or
    // two; content that moved changes most cells of a row, and of a column
    // many more than a caret's.
    bool rowAlike(int64_t r) const {
        int64_t differing = 0;
        for (int64_t c = 0; c < m_width; ++c) {
            differing += differs(r, c);
        }
        return differing <= m_width / FixedPartDetector::redrawnShare;
    }
    bool columnAlike(int64_t c, int64_t firstRow, int64_t endRow) const {
        int64_t differing = 0;
        for (int64_t r = firstRow; r < endRow; ++r) {
            differing += differs(r, c);
        }
        return differing <= (endRow - firstRow) / FixedPartDetector::redrawnShare;
    }
    // Whether rows [first, end) show anything but one grey level each
    // between the columns.
    bool rowsVary(int64_t first, int64_t end, int64_t firstColumn, int64_t endColumn) const {
        for (int64_t r = first; r < end; ++r) {
            const uint8_t* row = m_b + r * m_width;
            if (std::any_of(row + firstColumn, row + endColumn,
                            [&](uint8_t v) { return v != row[firstColumn]; })) {
                return true;
            }
        }
        return false;
    }
    // The rows, from the first that differs from the top row to the last,
    // in which columns [first, end) show anything but one grey level.
    std::pair<int64_t, int64_t> columnsVary(int64_t first, int64_t end, int64_t firstRow,
                                            int64_t endRow) const {
        int64_t top = -1;
        int64_t bottom = -1;
        for (int64_t r = firstRow + 1; r < endRow; ++r) {
            for (int64_t c = first; c < end; ++c) {
                if (value(r, c) != value(firstRow, c)) {
                    top = top < 0 ? r : top;
                    bottom = r;
                    break;
                }
            }
        }
        return {top, top < 0 ? top : bottom + 1};
    }
    bool cell(int64_t r, int64_t c) const { return m_a[r * m_width + c] == m_b[r * m_width + c]; }
    uint8_t value(int64_t r, int64_t c) const { return m_b[r * m_width + c]; }

private:
    bool differs(int64_t r, int64_t c) const {
        return std::abs(int(m_a[r * m_width + c]) - int(m_b[r * m_width + c])) >
               FixedPartDetector::redrawnLevels;
    }

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

// `columns` less the outermost column at either side of a signature `width`
// wide. A window's scrollbar runs down that column: it is neither one grey
// level nor content, and its thumb moves a little with every scroll, so it
// would make every row look like something and its track like a badge.
Span insideScrollbars(Span columns, int64_t width) {
    return width > 2 ? Span{std::max<int64_t>(columns.first, 1), std::min(columns.end, width - 1)}
                     : columns;
}

bool sameColumn(const SamePlace& cells, int64_t c, Span rows) {
    for (int64_t r = rows.first; r < rows.end; ++r) {
        if (!cells.cell(r, c)) {
            return false;
        }
    }
    return true;
}

// Calls `visit` with every run of rows in which column c is the same in both
// frames and is not the page's background. A row of one grey level that is
// the same in both frames is a band of stripes that the scroll happened to
// bring in step, and a run of one grey level a margin of a colour of its
// own, not a block beside moving content.
template <typename Visit>
void forEachRun(const SamePlace& cells, const std::vector<bool>& stripeRows, uint8_t pageBackground,
                Span rows, int64_t c, Visit visit) {
    int64_t start = rows.first;
    for (int64_t r = rows.first; r <= rows.end; ++r) {
        if (r < rows.end && !stripeRows[size_t(r)] && cells.cell(r, c) &&
            cells.value(r, c) != pageBackground) {
            continue;
        }
        if (r > start && cells.columnsVary(c, c + 1, start, r).first >= 0) {
            visit(Span{start, r});
        }
        start = r + 1;
    }
}

// The tallest run of rows in which one column, within the outer part of the
// moving columns on either side, is the same in both frames, grown by the
// runs of the columns beside it that overlap it (a round badge is shorter
// off its middle). Moving content matches itself at the same place only by
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
    std::vector<bool> stripeRows(size_t(rows.end), false);
    for (int64_t r = rows.first; r < rows.end; ++r) {
        stripeRows[size_t(r)] =
            cells.row(r) && !cells.rowsVary(r, r + 1, columns.first, columns.end);
    }
    Span best;
    for (int64_t c : zone) {
        forEachRun(cells, stripeRows, pageBackground, rows, c,
                   [&](Span run) { best = run.length() > best.length() ? run : best; });
    }
    if (best.length() == 0) {
        return best;
    }
    Span grown = best;
    for (int64_t c : zone) {
        forEachRun(cells, stripeRows, pageBackground, rows, c, [&](Span run) {
            if (run.first < best.end && run.end > best.first) {
                grown = {std::min(grown.first, run.first), std::max(grown.end, run.end)};
            }
        });
    }
    return best.length() >= FixedPartDetector::shortestBlock ? grown : best;
}

// Whether side columns `columns` that stayed put are a sidebar, `outer` its
// edge of the screen (columns.first or columns.end). A sidebar runs down the
// screen or, when it has only a few links, starts at its top and is empty
// below, in columns from the edge that are exactly as they were: a margin
// that content passes now and then is only alike in two frames. Columns that
// are blank but for a badge lower down are left to withBlock().
bool sidebar(const SamePlace& cells, Span columns, Span rows, int64_t outer) {
    const auto [first, end] = cells.columnsVary(columns.first, columns.end, rows.first, rows.end);
    if (first >= 0 && end - first > rows.length() / 2) {
        return true;
    }
    Span exact{outer, outer};
    while (exact.length() < columns.length() &&
           sameColumn(cells, outer == columns.first ? exact.end : exact.first - 1, rows)) {
        outer == columns.first ? ++exact.end : --exact.first;
    }
    const int64_t links = cells.columnsVary(exact.first, exact.end, rows.first, rows.end).first;
    return links >= 0 && links - rows.first < rows.length() / FixedPartDetector::sidebarTopDivisor;
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
    while (parts.top < h && cells.rowAlike(parts.top)) {
        ++parts.top;
    }
    if (parts.top == h) {
        return {};
    }
    while (cells.rowAlike(h - 1 - parts.bottom)) {
        ++parts.bottom;
    }
    const Span rows{parts.top, h - parts.bottom};
    while (cells.columnAlike(parts.left, rows.first, rows.end)) {
        ++parts.left;
    }
    while (cells.columnAlike(w - 1 - parts.right, rows.first, rows.end)) {
        ++parts.right;
    }
    // What a sidebar shows is looked for beside the scrollbar, whose thumb
    // would make a blank margin look like one.
    const Span left = insideScrollbars({0, parts.left}, w);
    const Span right = insideScrollbars({w - parts.right, w}, w);
    parts.left = sidebar(cells, left, rows, left.first) ? parts.left : 0;
    parts.right = sidebar(cells, right, rows, right.end) ? parts.right : 0;
    // Blank rows beside a sidebar are no band; the column beside a sidebar
    // may be half sidebar.
    const Span columns =
        insideScrollbars({parts.left + (parts.left > 0), w - parts.right - (parts.right > 0)}, w);
    parts.top = cells.rowsVary(0, parts.top, columns.first, columns.end) ? parts.top : 0;
    parts.bottom =
        cells.rowsVary(h - parts.bottom, h, columns.first, columns.end) ? parts.bottom : 0;
    return parts;
}

FixedParts FixedPartDetector::withBlock(const FrameSignature& previous, const FrameSignature& next,
                                        const FixedParts& parts) {
    const int64_t h = previous.height();
    const Span block = tallestBlock(
        SamePlace(previous, next), background(next), {parts.top, h - parts.bottom},
        insideScrollbars({parts.left, previous.width() - parts.right}, previous.width()));
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
