#include "text/InkFrames.h"

#include <QRect>

#include <algorithm>
#include <numeric>
#include <vector>

namespace vellumix::InkFrames {

namespace {

constexpr int kDark = 128;
constexpr int kPatternSide = 4;
constexpr QPoint kSides[] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};

struct Component {
    QRect bounds;
    std::vector<int> pixels;
};

// The 8-connected groups of dark pixels of `grey`.
std::vector<Component> components(const QImage& grey) {
    const int w = grey.width();
    std::vector<bool> seen(size_t(w) * size_t(grey.height()), false);
    const auto dark = [&](int x, int y) {
        return grey.constScanLine(y)[x] < kDark;
    };
    std::vector<Component> found;
    for (int seed = 0; seed < int(seen.size()); ++seed) {
        if (seen[size_t(seed)] || !dark(seed % w, seed / w)) {
            continue;
        }
        Component component;
        std::vector<int> pending{seed};
        seen[size_t(seed)] = true;
        while (!pending.empty()) {
            const int p = pending.back();
            pending.pop_back();
            component.pixels.push_back(p);
            component.bounds |= QRect(p % w, p / w, 1, 1);
            for (int y = std::max(0, p / w - 1); y <= std::min(grey.height() - 1, p / w + 1); ++y) {
                for (int x = std::max(0, p % w - 1); x <= std::min(w - 1, p % w + 1); ++x) {
                    if (!seen[size_t(y * w + x)] && dark(x, y)) {
                        seen[size_t(y * w + x)] = true;
                        pending.push_back(y * w + x);
                    }
                }
            }
        }
        found.push_back(std::move(component));
    }
    return found;
}

// A checkered fill, such as a scroll bar's trough, rather than a glyph's
// strokes: most of its ink touches other ink only at corners.
bool isPattern(const QImage& grey, const Component& c) {
    if (c.bounds.width() < kPatternSide || c.bounds.height() < kPatternSide) {
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

// What a frame encloses: the height of its tallest glyph (0 for none) and
// its patterns.
struct Enclosed {
    int tallest = 0;
    std::vector<const Component*> patterns;
};

// What `frame` encloses of `found` (the components of `grey`), whose left edges `byLeft` sorts.
Enclosed enclosed(const QImage& grey, const std::vector<Component>& found,
                  const std::vector<int>& byLeft, const Component& frame) {
    const auto first =
        std::upper_bound(byLeft.begin(), byLeft.end(), frame.bounds.left(),
                         [&](int left, int c) { return left < found[size_t(c)].bounds.left(); });
    Enclosed inside;
    for (auto c = first;
         c != byLeft.end() && found[size_t(*c)].bounds.left() < frame.bounds.right(); ++c) {
        const Component& inner = found[size_t(*c)];
        if (!frame.bounds.contains(inner.bounds, true)) {
            continue;
        }
        if (isPattern(grey, inner)) {
            inside.patterns.push_back(&inner);
        } else {
            inside.tallest = std::max(inside.tallest, inner.bounds.height());
        }
    }
    return inside;
}

void erase(QImage& grey, const Component& c) {
    for (const int p : c.pixels) {
        grey.scanLine(p / grey.width())[p % grey.width()] = 255;
    }
}

} // namespace

// A frame goes with the patterns inside it: a scroll bar's trough is no text
// either, and the engine reads it as a bracket.
QImage withoutFrames(QImage grey, double room) {
    const std::vector<Component> found = components(grey);
    std::vector<int> byLeft(found.size());
    std::iota(byLeft.begin(), byLeft.end(), 0);
    std::sort(byLeft.begin(), byLeft.end(), [&](int a, int b) {
        return found[size_t(a)].bounds.left() < found[size_t(b)].bounds.left();
    });
    for (const Component& frame : found) {
        const Enclosed inside = enclosed(grey, found, byLeft, frame);
        if (inside.tallest > 0 && frame.bounds.height() >= room * inside.tallest) {
            erase(grey, frame);
            for (const Component* pattern : inside.patterns) {
                erase(grey, *pattern);
            }
        }
    }
    return grey;
}

} // namespace vellumix::InkFrames
