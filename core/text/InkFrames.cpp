#include "text/InkFrames.h"

#include <QRect>

#include <algorithm>
#include <numeric>
#include <vector>

namespace vellumix::InkFrames {

namespace {

constexpr int kDark = 128;
// A checkered fill is at least this many pixels on each side, and this share
// of its box is ink.
constexpr int kPatternSide = 6;
constexpr double kPatternInk = 0.4;
// An outline is at most this many pixels thick on average.
constexpr int kOutline = 4;
// A frame is this many times as tall as the tallest glyph inside, and either
// this many times as wide as tall or as tall as this many glyphs.
constexpr double kRoom = 1.7;
constexpr double kWide = 1.15;
constexpr double kLinesOfRoom = 3;
// Text is at least two glyphs: a label, a word.
constexpr int kGlyphsOfText = 2;
constexpr QPoint kSides[] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};

struct Component {
    QRect bounds;
    std::vector<int> pixels;
};

// The 8-connected groups of dark pixels of `grey`, and the group of each
// pixel (-1 for light ones).
struct Ink {
    std::vector<Component> found;
    std::vector<int> label;
};

Ink components(const QImage& grey) {
    const int w = grey.width();
    Ink ink{{}, std::vector<int>(size_t(w) * size_t(grey.height()), -1)};
    const auto dark = [&](int x, int y) {
        return grey.constScanLine(y)[x] < kDark;
    };
    for (int seed = 0; seed < int(ink.label.size()); ++seed) {
        if (ink.label[size_t(seed)] >= 0 || !dark(seed % w, seed / w)) {
            continue;
        }
        const int id = int(ink.found.size());
        Component component;
        std::vector<int> pending{seed};
        ink.label[size_t(seed)] = id;
        while (!pending.empty()) {
            const int p = pending.back();
            pending.pop_back();
            component.pixels.push_back(p);
            component.bounds |= QRect(p % w, p / w, 1, 1);
            for (int y = std::max(0, p / w - 1); y <= std::min(grey.height() - 1, p / w + 1); ++y) {
                for (int x = std::max(0, p % w - 1); x <= std::min(w - 1, p % w + 1); ++x) {
                    if (ink.label[size_t(y * w + x)] < 0 && dark(x, y)) {
                        ink.label[size_t(y * w + x)] = id;
                        pending.push_back(y * w + x);
                    }
                }
            }
        }
        ink.found.push_back(std::move(component));
    }
    return ink;
}

// A checkered fill, such as a scroll bar's trough, rather than a glyph: its
// ink covers much of its box, yet most of it touches other ink only at
// corners. (The thin diagonal strokes of an unsmoothed "x" leave most of
// their box empty.)
bool isPattern(const QImage& grey, const Component& c) {
    const QRect& box = c.bounds;
    if (box.width() < kPatternSide || box.height() < kPatternSide ||
        double(c.pixels.size()) < kPatternInk * box.width() * box.height()) {
        return false;
    }
    const QRect inside = grey.rect();
    qsizetype alone = 0;
    for (const int p : c.pixels) {
        const int x = p % grey.width();
        const int y = p / grey.width();
        alone += std::none_of(std::begin(kSides), std::end(kSides), [&](const QPoint& side) {
            const QPoint n(x + side.x(), y + side.y());
            return inside.contains(n) && grey.constScanLine(n.y())[n.x()] < kDark;
        });
    }
    return 2 * alone >= qsizetype(c.pixels.size());
}

// Whether component `frame` lies around `inner` on all four sides: straight
// out from the middle of each of its edges, the frame is met before its box
// is left. A stroke beside a dot, as in 寸 or 勺, leaves a side open.
bool surrounds(const Ink& ink, int width, int frame, const QRect& inner) {
    const QRect& box = ink.found[size_t(frame)].bounds;
    const QPoint middle = inner.center();
    const QPoint starts[] = {{inner.left(), middle.y()},
                             {inner.right(), middle.y()},
                             {middle.x(), inner.top()},
                             {middle.x(), inner.bottom()}};
    for (int side = 0; side < 4; ++side) {
        QPoint at = starts[side] + kSides[side];
        while (box.contains(at) && ink.label[size_t(at.y() * width + at.x())] != frame) {
            at += kSides[side];
        }
        if (!box.contains(at)) {
            return false;
        }
    }
    return true;
}

// The glyphs a frame encloses: how many and the height of the tallest.
struct Enclosed {
    int count = 0;
    int tallest = 0;
};

// What component `frame` of `grey` encloses; `byLeft` sorts the components
// by their left edges.
Enclosed enclosed(const QImage& grey, const Ink& ink, const std::vector<bool>& patterns,
                  const std::vector<int>& byLeft, int frame) {
    const QRect& box = ink.found[size_t(frame)].bounds;
    const auto first =
        std::upper_bound(byLeft.begin(), byLeft.end(), box.left(), [&](int left, int c) {
            return left < ink.found[size_t(c)].bounds.left();
        });
    Enclosed inside;
    for (auto c = first; c != byLeft.end() && ink.found[size_t(*c)].bounds.left() < box.right();
         ++c) {
        const Component& inner = ink.found[size_t(*c)];
        if (!box.contains(inner.bounds, true) ||
            !surrounds(ink, grey.width(), frame, inner.bounds)) {
            continue;
        }
        if (!patterns[size_t(*c)]) {
            ++inside.count;
            inside.tallest = std::max(inside.tallest, inner.bounds.height());
        }
    }
    return inside;
}

// A thin outline around text with room above and below: a button's or a
// field's is wider than the box of a glyph such as 图 or 國, which holds its
// inner strokes tightly, and a menu's holds lines of text. The dot inside a
// zero or the box inside 圖 is no text, and a dark fill left around text is no
// outline.
bool isFrame(const Component& c, const Enclosed& inside) {
    const QRect& box = c.bounds;
    const bool roomy =
        box.height() >= kRoom * inside.tallest &&
        (box.width() >= kWide * box.height() || box.height() >= kLinesOfRoom * inside.tallest);
    return inside.count >= kGlyphsOfText && roomy &&
           qsizetype(c.pixels.size()) <= kOutline * 2 * qsizetype(box.width() + box.height());
}

} // namespace

// Checkered fills go wherever they are: a scroll bar's trough is no text, and
// the engine reads it as a bracket or glues it onto the line beside it.
QImage withoutFrames(QImage grey) {
    const Ink ink = components(grey);
    std::vector<bool> patterns;
    for (const Component& c : ink.found) {
        patterns.push_back(isPattern(grey, c));
    }
    std::vector<int> byLeft(ink.found.size());
    std::iota(byLeft.begin(), byLeft.end(), 0);
    std::sort(byLeft.begin(), byLeft.end(), [&](int a, int b) {
        return ink.found[size_t(a)].bounds.left() < ink.found[size_t(b)].bounds.left();
    });
    std::vector<bool> gone = patterns;
    for (int frame = 0; frame < int(ink.found.size()); ++frame) {
        gone[size_t(frame)] =
            gone[size_t(frame)] ||
            isFrame(ink.found[size_t(frame)], enclosed(grey, ink, patterns, byLeft, frame));
    }
    for (size_t c = 0; c < ink.found.size(); ++c) {
        if (gone[c]) {
            for (const int p : ink.found[c].pixels) {
                grey.scanLine(p / grey.width())[p % grey.width()] = 255;
            }
        }
    }
    return grey;
}

} // namespace vellumix::InkFrames
