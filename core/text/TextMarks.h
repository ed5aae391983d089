#pragma once

#include "text/FlatAreas.h"

#include <QImage>
#include <QRect>
#include <QRgb>

#include <vector>

namespace vellumix {

// The distance of two colours in RGB space, 0 to about 441.
double colorDistance(QRgb a, QRgb b);
// The pixel at `index` (y * width + x) of a Format_RGB32 image.
QRgb pixelAt(const QImage& image, qsizetype index);

// A connected group of pixels on no ground: a glyph with its anti-aliased
// edge, a hairline, an icon.
struct TextMark {
    // Marks fainter than this against their ground are noise.
    static constexpr double noise = 20;

    qsizetype begin = 0; // its pixels in TextMarks::pixelIndex()
    qsizetype end = 0;
    int ground = -1;      // the largest ground it touches; -1 for none
    bool between = false; // touches grounds of clearly different colours
    bool enclosed = true; // touches one ground only
    QRgb ink = 0;         // its pixel farthest in colour from its ground
    double contrast = 0;  // that distance
    QRect bounds;
    qsizetype solid = 0; // pixels of at least half its contrast

    qsizetype pixels() const { return end - begin; }
    // Lies on one ground and stands out from it.
    bool isText() const { return ground >= 0 && !between && contrast >= noise; }
};

// A screenshot's flat areas sorted into grounds and the marks on them, as
// TextContrast describes.
class TextMarks final {
public:
    // `image` in Format_RGB32; both must outlive this.
    TextMarks(const QImage& image, const FlatAreas& areas);

    bool isGround(int area) const { return m_ground[size_t(area)]; }
    const std::vector<TextMark>& marks() const { return m_marks; }
    // The image index of the i-th pixel of all marks.
    qsizetype pixelIndex(qsizetype i) const { return m_pixels[size_t(i)]; }

    // The height of the mark that `share` of the text's pixels lie in marks no
    // taller than; for half, about the height of a lowercase letter. 0 without
    // text.
    int typicalHeight(double share = 0.5) const;
    // Per area, the contrast of the mark that half of the marked pixels on it
    // reach: the contrast of its text rather than of a stray icon.
    std::vector<double> typicalContrasts() const;
    // Per mark, whether it is a checkbox, which the engine would read as "O",
    // "@" or "[]".
    std::vector<bool> controlMarks(int textHeight) const;

private:
    bool isGroundPixel(qsizetype index) const { return isGround(m_areas.areaAt(index)); }
    void findMarks();
    TextMark grow(qsizetype seed, std::vector<bool>& seen);
    void touch(TextMark& mark, int area);
    bool demoteEmptyThinGrounds();
    void measureInk();
    static bool isControl(const QRect& bounds, qsizetype pixels, int textHeight);

    const QImage& m_image;
    const FlatAreas& m_areas;
    std::vector<bool> m_ground; // per area
    std::vector<qsizetype> m_pixels;
    std::vector<TextMark> m_marks;
    // Per area, how many marks touch it and the last of them.
    std::vector<int> m_touchers;
    std::vector<int> m_lastToucher;
};

} // namespace vellumix
