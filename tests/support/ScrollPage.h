#pragma once

#include <QImage>

#include <cstdint>
#include <random>

namespace vellumix::testing {

// A tall page like the ones people scroll through, drawn from blocks of
// text-like lines, pictures and rules; the same seed always gives the same
// page. Words are runs of glyph-like strokes rather than text in a font, so
// the page does not depend on the fonts of the machine.
class ScrollPage final {
public:
    // In the order of the constructor's table.
    enum class Layout {
        mixed,   // paragraphs, pictures, rules, blank bands, bands of stripes
        article, // paragraphs of evenly spaced lines, headings and pictures
        table,   // rows of one height: cells, rules and alternate shading
        list,    // entries of one height: avatar, name, time, a preview line
        code,    // lines of one height, indented, with a gutter of line numbers
    };

    struct Options {
        int width = 400;
        int height = 3000;
        uint32_t seed = 1;
        // Rows [bandTop, bandTop + bandHeight) are one featureless band, of
        // identical stripes or blank, when bandHeight > 0.
        int bandTop = 0;
        int bandHeight = 0;
        bool bandStriped = true;
        Layout layout = Layout::mixed;
    };

    explicit ScrollPage(const Options& options);

    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    const QImage& image() const { return m_image; }

    // What a region `rows` tall shows when the page is scrolled to `top`.
    QImage frame(int top, int rows) const { return m_image.copy(0, top, width(), rows); }

    // Changes every channel by up to `amplitude` levels either way, evenly
    // spread, as a page re-rendered for each frame (animated areas, text
    // rasterised again) looks; each `seed` gives other noise.
    static void addNoise(QImage& frame, uint32_t seed, int amplitude);

private:
    void drawMixed() { drawBlocks(false); }
    void drawArticle() { drawBlocks(true); }
    void drawBlocks(bool article);
    void drawTable();
    void drawList();
    void drawCode();
    void drawParagraph(int top, int rows, int pitch);
    void drawWords(int left, int right, int top, int rows, QRgb ink, std::mt19937& rng);
    void drawPicture(const QRect& area, std::mt19937& rng);
    void drawStripes(int top, int rows, int period);
    void fill(const QRect& area, QRgb colour);

    QImage m_image;
    std::mt19937 m_rng;
};

} // namespace vellumix::testing
