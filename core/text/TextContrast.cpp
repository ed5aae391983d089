#include "text/TextContrast.h"

#include "text/FlatAreas.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace vellumix::TextContrast {

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
// Marks fainter than this against their ground are noise.
constexpr double kNoise = 20;
// A faint mark's contrast is raised at most to this share of its ground's
// typical text, so secondary text turns dark and hairlines stay light.
constexpr double kRaisedShare = 0.5;
// Where two grounds meet along a vertical edge at least this long (a sidebar
// beside its pane), a black rule is left: the engine takes it for a column
// separator, which whitening both grounds would hide. Even a faintly tinted
// sidebar counts.
constexpr int kColumnEdge = 96;
constexpr double kDistinctColumns = 8;
// A checkbox, ticked or not, is a small square ground with its tick on it or
// its frame alone around it; the engine reads it as "O", "@" or "[]". Sides
// within this ratio, this share of its box filled, at most this many text
// heights wide.
constexpr double kControlSquareness = 0.8;
constexpr double kControlFill = 0.88;
constexpr double kControlSize = 2.5;

struct Mark {
    qsizetype begin = 0; // its pixels in the shared list
    qsizetype end = 0;
    int ground = -1; // the largest ground it touches
    bool between = false;
    bool enclosed = true; // touches one ground only
    QRgb ink = 0;
    double contrast = 0;
    QRect bounds;
    qsizetype solid = 0; // pixels of at least half its contrast
};

double distance(QRgb a, QRgb b) {
    const double r = qRed(a) - qRed(b);
    const double g = qGreen(a) - qGreen(b);
    const double bl = qBlue(a) - qBlue(b);
    return std::sqrt(r * r + g * g + bl * bl);
}

QRgb pixelAt(const QImage& image, qsizetype index) {
    return reinterpret_cast<const QRgb*>(
        image.constScanLine(int(index / image.width())))[index % image.width()];
}

class Grounds final {
public:
    Grounds(const QImage& image, const FlatAreas& areas) : m_image(image), m_areas(areas) {
        for (const FlatArea& area : areas.areas()) {
            m_ground.push_back(area.thickness >= kGroundThickness && area.pixels >= kGroundPixels);
        }
        findMarks();
        if (demoteEmptyThinGrounds()) {
            findMarks();
        }
        measureInk();
    }

    QImage paint() const;
    int typicalHeight() const;

private:
    void drawColumnEdges(QImage& grey) const;
    bool isGround(qsizetype index) const { return m_ground[size_t(m_areas.areaAt(index))]; }
    void findMarks();
    void touch(Mark& mark, int area) const;
    bool demoteEmptyThinGrounds();
    void measureInk();
    std::vector<double> typicalContrasts() const;
    static bool isControl(const QRect& bounds, qsizetype pixels, int textHeight);
    std::vector<bool> controlMarks(int textHeight) const;

    const QImage& m_image;
    const FlatAreas& m_areas;
    std::vector<bool> m_ground; // per area
    std::vector<qsizetype> m_pixels;
    std::vector<Mark> m_marks;
    // Per area, how many marks touch it and the last of them.
    std::vector<int> m_touchers;
    std::vector<int> m_lastToucher;
};

void Grounds::touch(Mark& mark, int area) const {
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
    mark.between = mark.between || distance(now.color, before.color) > kDistinctGrounds;
    if (now.pixels > before.pixels) {
        mark.ground = area;
    }
}

void Grounds::findMarks() {
    const int w = m_areas.width();
    const int h = m_areas.height();
    std::vector<bool> seen(size_t(w) * size_t(h), false);
    m_pixels.clear();
    m_marks.clear();
    m_touchers.assign(m_ground.size(), 0);
    m_lastToucher.assign(m_ground.size(), -1);
    std::vector<qsizetype> pending;
    for (qsizetype seed = 0; seed < qsizetype(seen.size()); ++seed) {
        if (seen[size_t(seed)] || isGround(seed)) {
            continue;
        }
        Mark mark;
        mark.begin = qsizetype(m_pixels.size());
        int left = w, right = 0, top = h, bottom = 0;
        seen[size_t(seed)] = true;
        pending.push_back(seed);
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
                    if (isGround(n)) {
                        const int area = m_areas.areaAt(n);
                        touch(mark, area);
                        if (m_lastToucher[size_t(area)] != int(m_marks.size())) {
                            m_lastToucher[size_t(area)] = int(m_marks.size());
                            ++m_touchers[size_t(area)];
                        }
                    } else if (!seen[size_t(n)]) {
                        seen[size_t(n)] = true;
                        pending.push_back(n);
                    }
                }
            }
        }
        mark.end = qsizetype(m_pixels.size());
        mark.bounds = QRect(QPoint(left, top), QPoint(right, bottom));
        m_marks.push_back(mark);
    }
}

bool Grounds::demoteEmptyThinGrounds() {
    std::vector<int> held(m_ground.size(), 0);
    for (const Mark& mark : m_marks) {
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

void Grounds::measureInk() {
    for (Mark& mark : m_marks) {
        if (mark.ground < 0) {
            continue;
        }
        const QRgb ground = m_areas.areas()[size_t(mark.ground)].color;
        for (qsizetype p = mark.begin; p < mark.end; ++p) {
            const QRgb color = pixelAt(m_image, m_pixels[size_t(p)]);
            const double d = distance(color, ground);
            if (d > mark.contrast) {
                mark.contrast = d;
                mark.ink = color;
            }
        }
        for (qsizetype p = mark.begin; p < mark.end; ++p) {
            if (2 * distance(pixelAt(m_image, m_pixels[size_t(p)]), ground) >= mark.contrast) {
                ++mark.solid;
            }
        }
    }
}

// Per ground, the contrast of the mark that half of its marked pixels reach:
// the contrast of its text rather than of a stray icon or a hairline.
std::vector<double> Grounds::typicalContrasts() const {
    std::vector<std::vector<std::pair<double, qsizetype>>> marks(m_ground.size());
    for (const Mark& mark : m_marks) {
        if (mark.ground >= 0 && !mark.between && mark.contrast >= kNoise) {
            marks[size_t(mark.ground)].emplace_back(mark.contrast, mark.end - mark.begin);
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

// The height of the mark that half of the text's pixels lie in marks no
// taller than: about the height of a lowercase letter.
int Grounds::typicalHeight() const {
    std::vector<std::pair<int, qsizetype>> heights;
    qsizetype total = 0;
    for (const Mark& mark : m_marks) {
        if (mark.ground >= 0 && !mark.between && mark.contrast >= kNoise) {
            heights.emplace_back(mark.bounds.height(), mark.end - mark.begin);
            total += mark.end - mark.begin;
        }
    }
    std::sort(heights.begin(), heights.end());
    qsizetype below = 0;
    for (const auto& [height, pixels] : heights) {
        below += pixels;
        if (2 * below >= total) {
            return height;
        }
    }
    return 0;
}

bool Grounds::isControl(const QRect& bounds, qsizetype pixels, int textHeight) {
    const int shorter = std::min(bounds.width(), bounds.height());
    const int longer = std::max(bounds.width(), bounds.height());
    return shorter >= kControlSquareness * longer &&
           double(pixels) >= kControlFill * shorter * longer && longer >= textHeight &&
           longer <= kControlSize * textHeight;
}

// The marks that are checkboxes: a tick alone on a small square ground, a
// frame that alone surrounds one, or a filled square with its tick, which
// touches no ground of its size.
std::vector<bool> Grounds::controlMarks(int textHeight) const {
    std::vector<int> held(m_ground.size(), 0);
    std::vector<qsizetype> heldMark(m_ground.size(), -1);
    std::vector<bool> controls(m_marks.size(), false);
    for (size_t i = 0; i < m_marks.size(); ++i) {
        const Mark& mark = m_marks[i];
        if (mark.enclosed && mark.ground >= 0) {
            ++held[size_t(mark.ground)];
            heldMark[size_t(mark.ground)] = qsizetype(i);
        }
        controls[i] = isControl(mark.bounds, mark.solid, textHeight);
    }
    for (size_t g = 0; g < m_ground.size(); ++g) {
        const qsizetype tick = held[g] == 1 ? heldMark[g] : -1;
        const qsizetype tickPixels =
            tick >= 0 ? m_marks[size_t(tick)].end - m_marks[size_t(tick)].begin : 0;
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

void Grounds::drawColumnEdges(QImage& grey) const {
    const int w = m_areas.width();
    const int h = m_areas.height();
    const auto edgeAt = [&](int x, int y) {
        const qsizetype i = qsizetype(y) * w + x;
        const int left = m_areas.areaAt(i - 1);
        const int right = m_areas.areaAt(i);
        return left != right && isGround(i - 1) && isGround(i) &&
               distance(m_areas.areas()[size_t(left)].color, m_areas.areas()[size_t(right)].color) >
                   kDistinctColumns;
    };
    for (int x = 1; x < w; ++x) {
        int start = 0;
        for (int y = 0; y <= h; ++y) {
            if (y < h && edgeAt(x, y)) {
                continue;
            }
            if (y - start >= kColumnEdge) {
                for (int edge = start; edge < y; ++edge) {
                    grey.scanLine(edge)[x] = 0;
                }
            }
            start = y + 1;
        }
    }
}

QImage Grounds::paint() const {
    QImage grey(m_image.size(), QImage::Format_Grayscale8);
    grey.fill(255);
    const std::vector<double> typical = typicalContrasts();
    const std::vector<bool> controls = controlMarks(typicalHeight());
    const auto put = [&](qsizetype index, double value) {
        grey.scanLine(int(index / grey.width()))[index % grey.width()] =
            uchar(std::clamp(value, 0.0, 255.0) + 0.5);
    };
    for (size_t m = 0; m < m_marks.size(); ++m) {
        const Mark& mark = m_marks[m];
        if (mark.ground < 0) {
            // Nothing flat around it, as in a photo: plain brightness.
            for (qsizetype p = mark.begin; p < mark.end; ++p) {
                put(m_pixels[size_t(p)], qGray(pixelAt(m_image, m_pixels[size_t(p)])));
            }
            continue;
        }
        if (mark.between || mark.contrast < kNoise || controls[m]) {
            continue;
        }
        const QRgb ground = m_areas.areas()[size_t(mark.ground)].color;
        const double scale = std::max(mark.contrast, kRaisedShare * typical[size_t(mark.ground)]);
        const double direction[3] = {(qRed(mark.ink) - qRed(ground)) / mark.contrast,
                                     (qGreen(mark.ink) - qGreen(ground)) / mark.contrast,
                                     (qBlue(mark.ink) - qBlue(ground)) / mark.contrast};
        for (qsizetype p = mark.begin; p < mark.end; ++p) {
            const QRgb color = pixelAt(m_image, m_pixels[size_t(p)]);
            const double along = (qRed(color) - qRed(ground)) * direction[0] +
                                 (qGreen(color) - qGreen(ground)) * direction[1] +
                                 (qBlue(color) - qBlue(ground)) * direction[2];
            put(m_pixels[size_t(p)], 255.0 * (1.0 - along / scale));
        }
    }
    drawColumnEdges(grey);
    return grey;
}

} // namespace

Result darkOnLight(const QImage& image) {
    const FlatAreas areas(image);
    if (!areas.isFlat()) {
        return {image.convertToFormat(QImage::Format_Grayscale8), 0};
    }
    const Grounds grounds(image, areas);
    return {grounds.paint(), grounds.typicalHeight()};
}

} // namespace vellumix::TextContrast
