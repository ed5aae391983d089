#pragma once

#include <QImage>
#include <QRect>
#include <QRgb>

#include <vector>

namespace vellumix {

// One connected area of a single colour: a window, a button, a selected row,
// or one stroke of a glyph.
struct FlatArea {
    QRgb color = 0; // the mean colour of its pixels
    qint64 pixels = 0;
    QRect bounds;
    // The largest square inside the area is 2 * thickness + 1 pixels wide:
    // fills are thick, the strokes of text are thin.
    int thickness = 0;
};

// A screenshot taken apart into flat areas. Window content is drawn in flat
// fills, so where the colour stays within `tolerance` of an area's first pixel
// the area goes on; anti-aliased edges, gradients and photos break into small
// areas.
class FlatAreas final {
public:
    static constexpr int tolerance = 12;
    // A photo breaks into nearly one area per pixel. Past one area for this
    // many pixels the image is no window content, and the areas are dropped
    // before they take more memory than the image.
    static constexpr size_t maxAreasPerPixel = 4;

    // `image` in Format_RGB32.
    explicit FlatAreas(const QImage& image);

    // False when the image broke into too many areas to be window content;
    // then it has no areas.
    bool isFlat() const { return !m_label.empty(); }

    int width() const { return m_width; }
    int height() const { return m_height; }
    // The area of the pixel at `index` (y * width + x).
    int areaAt(qsizetype index) const { return m_label[size_t(index)]; }
    const std::vector<FlatArea>& areas() const { return m_areas; }

private:
    void fill(const QImage& image, qsizetype seed);
    bool onEdge(int x, int y) const;
    void measureThickness();

    int m_width;
    int m_height;
    std::vector<int> m_label;
    std::vector<FlatArea> m_areas;
};

} // namespace vellumix
