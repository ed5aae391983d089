#include "text/TextMarks.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace vellumix {

namespace {

// A ground holds a 7 x 7 square and is not a speck.
constexpr int kGroundThickness = 3;
constexpr qint64 kGroundPixels = 120;
// A bold glyph of a large heading is as thick as a small button, yet it is
// thin for its height and holds no other marks; a button holds its label.
constexpr double kThinForHeight = 0.2;
constexpr int kMarksOfThinGround = 2;
// Grounds closer in colour than this are one ground cut up by a gradient.
constexpr double kDistinctGrounds = 22;
// A checkbox, ticked or not, is a small square ground with its tick on it or
// its frame alone around it; the engine reads it as "O", "@" or "[]". Sides
// within this ratio, this share of its box filled, at most this many text
// heights wide.
constexpr double kControlSquareness = 0.8;
constexpr double kControlFill = 0.88;
constexpr double kControlSize = 2.5;

} // namespace

double colorDistance(QRgb a, QRgb b) {
    const double r = qRed(a) - qRed(b);
    const double g = qGreen(a) - qGreen(b);
    const double bl = qBlue(a) - qBlue(b);
    return std::sqrt(r * r + g * g + bl * bl);
}

QRgb pixelAt(const QImage& image, qsizetype index) {
    return reinterpret_cast<const QRgb*>(
        image.constScanLine(int(index / image.width())))[index % image.width()];
}

TextMarks::TextMarks(const QImage& image, const FlatAreas& areas) : m_image(image), m_areas(areas) {
    for (const FlatArea& area : areas.areas()) {
        m_ground.push_back(area.thickness >= kGroundThickness && area.pixels >= kGroundPixels);
    }
    findMarks();
    if (demoteEmptyThinGrounds()) {
        findMarks();
    }
    measureInk();
}

void TextMarks::touch(TextMark& mark, int area) {
    if (m_lastToucher[size_t(area)] != int(m_marks.size())) {
        m_lastToucher[size_t(area)] = int(m_marks.size());
        ++m_touchers[size_t(area)];
    }
    if (mark.ground < 0) {
        mark.ground = area;
        return;
    }
    if (area == mark.ground) {
        return;
    }
    const FlatArea& now = m_areas.areas()[size_t(area)];
    const FlatArea& before = m_areas.areas()[size_t(mark.ground)];
    mark.enclosed = false;
    mark.between = mark.between || colorDistance(now.color, before.color) > kDistinctGrounds;
    if (now.pixels > before.pixels) {
        mark.ground = area;
    }
}

void TextMarks::findMarks() {
    std::vector<bool> seen(size_t(m_areas.width()) * size_t(m_areas.height()), false);
    m_pixels.clear();
    m_marks.clear();
    m_touchers.assign(m_ground.size(), 0);
    m_lastToucher.assign(m_ground.size(), -1);
    for (qsizetype seed = 0; seed < qsizetype(seen.size()); ++seed) {
        if (!seen[size_t(seed)] && !isGroundPixel(seed)) {
            m_marks.push_back(grow(seed, seen));
        }
    }
}

// The mark of all pixels off the grounds connected to `seed`, noting the
// grounds it touches.
TextMark TextMarks::grow(qsizetype seed, std::vector<bool>& seen) {
    const int w = m_areas.width();
    const int h = m_areas.height();
    TextMark mark;
    mark.begin = qsizetype(m_pixels.size());
    int left = w, right = 0, top = h, bottom = 0;
    std::vector<qsizetype> pending{seed};
    seen[size_t(seed)] = true;
    while (!pending.empty()) {
        const qsizetype i = pending.back();
        pending.pop_back();
        m_pixels.push_back(i);
        const int x = int(i % w);
        const int y = int(i / w);
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
        for (int ny = std::max(0, y - 1); ny <= std::min(h - 1, y + 1); ++ny) {
            for (int nx = std::max(0, x - 1); nx <= std::min(w - 1, x + 1); ++nx) {
                const qsizetype n = qsizetype(ny) * w + nx;
                if (isGroundPixel(n)) {
                    touch(mark, m_areas.areaAt(n));
                } else if (!seen[size_t(n)]) {
                    seen[size_t(n)] = true;
                    pending.push_back(n);
                }
            }
        }
    }
    mark.end = qsizetype(m_pixels.size());
    mark.bounds = QRect(QPoint(left, top), QPoint(right, bottom));
    return mark;
}

bool TextMarks::demoteEmptyThinGrounds() {
    std::vector<int> held(m_ground.size(), 0);
    for (const TextMark& mark : m_marks) {
        if (mark.enclosed && mark.ground >= 0) {
            ++held[size_t(mark.ground)];
        }
    }
    bool demoted = false;
    for (size_t a = 0; a < m_ground.size(); ++a) {
        const FlatArea& area = m_areas.areas()[a];
        if (m_ground[a] && area.thickness < kThinForHeight * area.bounds.height() &&
            held[a] < kMarksOfThinGround) {
            m_ground[a] = false;
            demoted = true;
        }
    }
    return demoted;
}

void TextMarks::measureInk() {
    for (TextMark& mark : m_marks) {
        if (mark.ground < 0) {
            continue;
        }
        const QRgb ground = m_areas.areas()[size_t(mark.ground)].color;
        for (qsizetype p = mark.begin; p < mark.end; ++p) {
            const QRgb color = pixelAt(m_image, m_pixels[size_t(p)]);
            const double d = colorDistance(color, ground);
            if (d > mark.contrast) {
                mark.contrast = d;
                mark.ink = color;
            }
        }
        for (qsizetype p = mark.begin; p < mark.end; ++p) {
            if (2 * colorDistance(pixelAt(m_image, m_pixels[size_t(p)]), ground) >= mark.contrast) {
                ++mark.solid;
            }
        }
    }
}

std::vector<double> TextMarks::typicalContrasts() const {
    std::vector<std::vector<std::pair<double, qsizetype>>> marks(m_ground.size());
    for (const TextMark& mark : m_marks) {
        if (mark.isText()) {
            marks[size_t(mark.ground)].emplace_back(mark.contrast, mark.pixels());
        }
    }
    std::vector<double> typical(m_ground.size(), 0);
    for (size_t g = 0; g < marks.size(); ++g) {
        std::sort(marks[g].begin(), marks[g].end());
        qsizetype total = 0;
        for (const auto& mark : marks[g]) {
            total += mark.second;
        }
        qsizetype below = 0;
        for (const auto& [contrast, pixels] : marks[g]) {
            below += pixels;
            if (2 * below >= total) {
                typical[g] = contrast;
                break;
            }
        }
    }
    return typical;
}

int TextMarks::typicalHeight(double share) const {
    std::vector<std::pair<int, qsizetype>> heights;
    qsizetype total = 0;
    for (const TextMark& mark : m_marks) {
        if (mark.isText()) {
            heights.emplace_back(mark.bounds.height(), mark.pixels());
            total += mark.pixels();
        }
    }
    std::sort(heights.begin(), heights.end());
    qsizetype below = 0;
    for (const auto& [height, pixels] : heights) {
        below += pixels;
        if (double(below) >= share * double(total)) {
            return height;
        }
    }
    return 0;
}

bool TextMarks::isControl(const QRect& bounds, qsizetype pixels, int textHeight) {
    const int shorter = std::min(bounds.width(), bounds.height());
    const int longer = std::max(bounds.width(), bounds.height());
    return shorter >= kControlSquareness * longer &&
           double(pixels) >= kControlFill * shorter * longer && longer >= textHeight &&
           longer <= kControlSize * textHeight;
}

// The marks that are checkboxes: a tick alone on a small square ground, a
// frame that alone surrounds one, or a filled square with its tick, which
// touches no ground of its size.
std::vector<bool> TextMarks::controlMarks(int textHeight) const {
    std::vector<int> held(m_ground.size(), 0);
    std::vector<qsizetype> heldMark(m_ground.size(), -1);
    std::vector<bool> controls(m_marks.size(), false);
    for (size_t i = 0; i < m_marks.size(); ++i) {
        const TextMark& mark = m_marks[i];
        if (mark.enclosed && mark.ground >= 0) {
            ++held[size_t(mark.ground)];
            heldMark[size_t(mark.ground)] = qsizetype(i);
        }
        controls[i] = isControl(mark.bounds, mark.solid, textHeight);
    }
    for (size_t g = 0; g < m_ground.size(); ++g) {
        const qsizetype tick = held[g] == 1 ? heldMark[g] : -1;
        const qsizetype tickPixels = tick >= 0 ? m_marks[size_t(tick)].pixels() : 0;
        const FlatArea& area = m_areas.areas()[g];
        if (!m_ground[g] || !isControl(area.bounds, area.pixels + tickPixels, textHeight)) {
            continue;
        }
        if (tick >= 0) {
            controls[size_t(tick)] = true;
        } else if (held[g] == 0 && m_touchers[g] == 1) {
            controls[size_t(m_lastToucher[g])] = true;
        }
    }
    return controls;
}

} // namespace vellumix
