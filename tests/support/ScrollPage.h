#pragma once

#include <QColor>
#include <QImage>
#include <QString>

#include <cstdint>
#include <random>

class QPainter;

namespace vellumix::testing {

// A tall page like the ones people scroll through: paragraphs of text-like
// lines of varying length and shade, pictures (smooth and grainy), blank
// bands, rules, and a few bands of evenly repeated stripes (table rows); or
// one layout of an everyday page throughout. The same seed always gives the
// same page.
class ScrollPage final {
public:
    enum class Layout {
        mixed,
        table,   // rows of one height with cells, rules and alternate shading
        list,    // entries of one height: avatar, name, preview line, time
        code,    // monospaced lines with a gutter of line numbers
        article, // headings, paragraphs and the odd picture
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
    QImage frame(int top, int rows) const;
    // The same, with one row of the frame changed where a caret blinks.
    QImage frameWithCaret(int top, int rows, int caretRow) const;

    // Changes every channel by up to `amplitude` levels either way, evenly
    // spread, as a page re-rendered for each frame (animated areas, text
    // rasterised again) looks; each `seed` gives other noise.
    static void addNoise(QImage& frame, uint32_t seed, int amplitude);

private:
    void drawParagraph(int top, int height);
    void drawPicture(int top, int height);
    void drawStripes(int top, int height, int period);
    int drawBlock(int top);
    void drawLayout(Layout layout);
    void drawTable(QPainter& painter);
    void drawList(QPainter& painter);
    void drawCode(QPainter& painter);
    void drawArticle(QPainter& painter);
    void drawWords(QPainter& painter, int left, int right, int top, int lineHeight,
                   const QColor& ink);
    QString words(int count);
    static void setFont(QPainter& painter, const char* family, int pixelSize, bool bold);

    QImage m_image;
    std::mt19937 m_rng;
    bool m_afterContent = true;
    QRgb m_background = 0;
};

} // namespace vellumix::testing
