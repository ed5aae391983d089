#pragma once

#include <QImage>

#include <cstdint>
#include <random>

namespace vellumix::testing {

// A tall page like the ones people scroll through: paragraphs of text-like
// lines of varying length and shade, pictures (smooth and grainy), blank
// bands, rules, and a few bands of evenly repeated stripes (table rows).
// The same seed always gives the same page.
class ScrollPage final {
public:
    struct Options {
        int width = 400;
        int height = 3000;
        uint32_t seed = 1;
        // Rows [bandTop, bandTop + bandHeight) are one featureless band, of
        // identical stripes or blank, when bandHeight > 0.
        int bandTop = 0;
        int bandHeight = 0;
        bool bandStriped = true;
    };

    explicit ScrollPage(const Options& options);

    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    const QImage& image() const { return m_image; }

    // What a region `rows` tall shows when the page is scrolled to `top`.
    QImage frame(int top, int rows) const;
    // The same, with one row of the frame changed where a caret blinks.
    QImage frameWithCaret(int top, int rows, int caretRow) const;

private:
    void drawParagraph(int top, int height);
    void drawPicture(int top, int height);
    void drawStripes(int top, int height, int period);
    int drawBlock(int top);

    QImage m_image;
    std::mt19937 m_rng;
    bool m_afterContent = true;
    QRgb m_background = 0;
};

} // namespace vellumix::testing
