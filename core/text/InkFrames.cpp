#include "text/InkFrames.h"

#include <QRect>

#include <algorithm>
#include <vector>

namespace vellumix::InkFrames {

namespace {

constexpr int kDark = 128;

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

} // namespace

QImage withoutFrames(QImage grey) {
    const std::vector<Component> found = components(grey);
    for (const Component& frame : found) {
        const bool encloses = std::any_of(found.begin(), found.end(), [&](const Component& c) {
            return &c != &frame && frame.bounds.contains(c.bounds, true);
        });
        if (encloses) {
            for (const int p : frame.pixels) {
                grey.scanLine(p / grey.width())[p % grey.width()] = 255;
            }
        }
    }
    return grey;
}

} // namespace vellumix::InkFrames
