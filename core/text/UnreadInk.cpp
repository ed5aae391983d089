#include "text/UnreadInk.h"

#include "text/EngineRun.h"
#include "text/InkFrames.h"

#include <tesseract/baseapi.h>

#include <algorithm>
#include <limits>
#include <map>

namespace vellumix::UnreadInk {

namespace {

// Ink is looked for in cells of this many pixels square; a cell with this
// many dark pixels holds ink.
constexpr int kCell = 4;
constexpr int kInkPixels = 2;
constexpr int kDark = 128;
// An area is at least this share of a typical line tall and at most this many
// lines; runs of ink closer than a line's height are one area.
constexpr double kLowest = 0.5;
constexpr double kHighest = 3;
// Straight runs of ink this many line heights long are rules and frames.
constexpr double kRule = 2;
constexpr int kMargin = 4;

int typicalHeight(const std::vector<RecognisedLine>& lines) {
    std::vector<int> heights;
    for (const RecognisedLine& line : lines) {
        heights.push_back(line.box.height());
    }
    if (heights.empty()) {
        return 16;
    }
    std::nth_element(heights.begin(), heights.begin() + qsizetype(heights.size() / 2),
                     heights.end());
    return heights[heights.size() / 2];
}

struct Grid {
    int width;
    int height;
    std::vector<bool> ink;
    bool at(int x, int y) const { return ink[size_t(y) * size_t(width) + size_t(x)]; }
};

// Dark pixels that are no part of a straight run of `rule` pixels or more
// along a row or a column: the frame of a menu or a panel would otherwise join
// all the text inside it into one area too tall to be a line.
std::vector<bool> darkOffRules(const QImage& prepared, int rule) {
    const int w = prepared.width();
    const int h = prepared.height();
    std::vector<bool> dark(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y) {
        const uchar* row = prepared.constScanLine(y);
        for (int x = 0; x < w; ++x) {
            dark[size_t(y) * size_t(w) + size_t(x)] = row[x] < kDark;
        }
    }
    std::vector<bool> kept = dark;
    const auto clearRuns = [&](int count, int length, auto index) {
        for (int line = 0; line < count; ++line) {
            for (int start = 0; start < length;) {
                int end = start;
                while (end < length && dark[index(line, end)]) {
                    ++end;
                }
                for (int i = start; end - start >= rule && i < end; ++i) {
                    kept[index(line, i)] = false;
                }
                start = end + 1;
            }
        }
    };
    clearRuns(h, w, [w](int y, int x) { return size_t(y) * size_t(w) + size_t(x); });
    clearRuns(w, h, [w](int x, int y) { return size_t(y) * size_t(w) + size_t(x); });
    return kept;
}

Grid unreadInk(const QImage& prepared, const std::vector<RecognisedLine>& lines, int height) {
    Grid grid{(prepared.width() + kCell - 1) / kCell, (prepared.height() + kCell - 1) / kCell, {}};
    std::vector<int> dark(size_t(grid.width) * size_t(grid.height), 0);
    const std::vector<bool> ink = darkOffRules(prepared, int(kRule * height));
    for (int y = 0; y < prepared.height(); ++y) {
        for (int x = 0; x < prepared.width(); ++x) {
            dark[size_t(y / kCell) * size_t(grid.width) + size_t(x / kCell)] +=
                ink[size_t(y) * size_t(prepared.width()) + size_t(x)];
        }
    }
    for (const RecognisedLine& line : lines) {
        const QRect box = line.box.adjusted(-kMargin, -kMargin, kMargin, kMargin) & prepared.rect();
        for (int y = box.top() / kCell; y <= box.bottom() / kCell; ++y) {
            for (int x = box.left() / kCell; x <= box.right() / kCell; ++x) {
                dark[size_t(y) * size_t(grid.width) + size_t(x)] = 0;
            }
        }
    }
    for (const int pixels : dark) {
        grid.ink.push_back(pixels >= kInkPixels);
    }
    return grid;
}

// The bounds of the cells of ink reachable from `seed` across gaps of up to
// `gap` cells along a row and none between rows.
QRect grow(const Grid& grid, int seed, int gap, std::vector<bool>& seen) {
    QRect bounds;
    std::vector<int> pending{seed};
    seen[size_t(seed)] = true;
    while (!pending.empty()) {
        const int cell = pending.back();
        pending.pop_back();
        const int cx = cell % grid.width;
        const int cy = cell / grid.width;
        bounds |= QRect(cx * kCell, cy * kCell, kCell, kCell);
        for (int y = std::max(0, cy - 1); y <= std::min(grid.height - 1, cy + 1); ++y) {
            for (int x = std::max(0, cx - gap); x <= std::min(grid.width - 1, cx + gap); ++x) {
                const int next = y * grid.width + x;
                if (grid.at(x, y) && !seen[size_t(next)]) {
                    seen[size_t(next)] = true;
                    pending.push_back(next);
                }
            }
        }
    }
    return bounds;
}

} // namespace

std::vector<QRect> areas(const QImage& prepared, const std::vector<RecognisedLine>& lines) {
    const int height = typicalHeight(lines);
    const Grid grid = unreadInk(prepared, lines, height);
    std::vector<bool> seen(grid.ink.size(), false);
    std::vector<QRect> found;
    for (int cell = 0; cell < int(grid.ink.size()); ++cell) {
        if (!grid.ink[size_t(cell)] || seen[size_t(cell)]) {
            continue;
        }
        const QRect area = grow(grid, cell, std::max(2, height / kCell), seen) & prepared.rect();
        if (area.height() >= kLowest * height && area.height() <= kHighest * height &&
            area.width() >= kLowest * height) {
            found.push_back(area);
        }
    }
    return found;
}

namespace {

// The first block in reading order that comes after `area`: to its right, or
// below it and across from it. INT_MAX when none does.
int follower(const std::map<int, QRect>& blocks, const QRect& area) {
    for (const auto& [block, box] : blocks) {
        const bool right = box.left() > area.right();
        const bool below =
            box.top() > area.bottom() && box.left() <= area.right() && box.right() >= area.left();
        if (right || below) {
            return block;
        }
    }
    return std::numeric_limits<int>::max();
}

using Added = std::vector<std::pair<RecognisedLine, int>>; // with the block each precedes

// Adds `added` to `lines` and numbers the blocks again in reading order: the
// lines found before each block, in one block of their own, then the block.
void insert(std::vector<RecognisedLine>& lines, const Added& added) {
    std::map<std::pair<int, int>, int> order;
    for (const RecognisedLine& line : lines) {
        order[{line.block, 1}] = 0;
    }
    for (const auto& [line, before] : added) {
        order[{before, 0}] = 0;
    }
    int next = 0;
    for (auto& [key, id] : order) {
        id = next++;
    }
    for (RecognisedLine& line : lines) {
        line.block = order[{line.block, 1}];
    }
    for (auto [line, before] : added) {
        line.block = order[{before, 0}];
        lines.push_back(line);
    }
}

} // namespace

bool readAgain(tesseract::TessBaseAPI& engine, const QImage& prepared,
               std::vector<RecognisedLine>& lines, const CancellationToken& cancellation) {
    const std::vector<QRect> unread = areas(prepared, lines);
    if (unread.empty()) {
        return true;
    }
    std::map<int, QRect> blocks;
    for (const RecognisedLine& line : lines) {
        blocks[line.block] |= line.box;
    }
    Added added;
    for (const QRect& area : unread) {
        const QRect read = area.adjusted(-kMargin, -kMargin, kMargin, kMargin) & prepared.rect();
        const QImage alone = InkFrames::withoutFrames(prepared.copy(read));
        EngineRun::setImage(engine, alone);
        engine.SetPageSegMode(tesseract::PSM_SINGLE_BLOCK);
        if (!EngineRun::recognize(engine, cancellation)) {
            return false;
        }
        for (RecognisedLine& line : EngineRun::lines(engine)) {
            line.unread = true;
            line.box.translate(read.topLeft());
            line.baseline += read.top();
            added.emplace_back(line, follower(blocks, area));
        }
    }
    insert(lines, added);
    return true;
}

void dropUnsure(std::vector<RecognisedLine>& lines) {
    std::erase_if(lines,
                  [](const RecognisedLine& line) { return line.unread && line.confidence < sure; });
}

} // namespace vellumix::UnreadInk
