#include "support/ScrollPage.h"

#include <algorithm>
#include <cmath>

namespace vellumix::testing {

namespace {

int uniform(std::mt19937& rng, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(rng);
}

QRgb grey(int level) {
    return qRgb(level, level, level);
}

} // namespace

ScrollPage::ScrollPage(const Options& options)
    : m_image(options.width, options.height, QImage::Format_RGB32), m_rng(options.seed) {
    const QRgb background = grey(uniform(m_rng, 244, 255));
    m_image.fill(background);
    using Draw = void (ScrollPage::*)();
    constexpr Draw draw[] = {&ScrollPage::drawMixed, &ScrollPage::drawArticle,
                             &ScrollPage::drawTable, &ScrollPage::drawList, &ScrollPage::drawCode};
    (this->*draw[int(options.layout)])();
    if (options.bandHeight > 0 && options.bandStriped) {
        drawStripes(options.bandTop, options.bandHeight, uniform(m_rng, 6, 14));
    } else if (options.bandHeight > 0) {
        fill(QRect(0, options.bandTop, width(), options.bandHeight), background);
    }
}

// In a mixed page blank bands and rules never follow each other, so no
// stretch without content is taller than about 150 rows, half of the frames
// used with it. An article has headings instead, and no gap taller than a
// heading's spacing.
void ScrollPage::drawBlocks(bool article) {
    const int pitch = article ? uniform(m_rng, 17, 21) : 0;
    bool afterContent = true;
    for (int top = uniform(m_rng, 0, 20); top < height();) {
        const int kind = uniform(m_rng, 0, article || !afterContent ? 8 : 11);
        afterContent = kind < 9;
        const int rows = uniform(m_rng, 40, kind < 6 ? 220 : 160);
        if (kind < 6) {
            drawParagraph(top, rows, pitch);
            top += rows + uniform(m_rng, 6, 24);
        } else if (kind < 8) {
            const int left = uniform(m_rng, 0, 40);
            drawPicture(QRect(left, top, width() - left - uniform(m_rng, 0, 40), rows), m_rng);
            top += rows + uniform(m_rng, 8, 30);
        } else if (article) {
            const int left = uniform(m_rng, 8, 30);
            drawWords(left, uniform(m_rng, 120, width() - 40), top + 6, 20, grey(20), m_rng);
            top += 34;
        } else if (kind < 9) {
            drawStripes(top, rows / 2, uniform(m_rng, 4, 12));
            top += rows / 2 + uniform(m_rng, 6, 20);
        } else if (kind < 10) {
            const QRect rule{uniform(m_rng, 0, 40), top, width(), uniform(m_rng, 1, 2)};
            fill(rule, grey(uniform(m_rng, 150, 220)));
            top += uniform(m_rng, 6, 16);
        } else {
            top += uniform(m_rng, 20, 120);
        }
    }
}

// Lines of varying length and shade; evenly spaced when `pitch` is given.
void ScrollPage::drawParagraph(int top, int rows, int pitch) {
    const int margin = uniform(m_rng, 8, 30);
    for (int y = top;;) {
        const int lineHeight = pitch > 0 ? pitch * 2 / 3 : uniform(m_rng, 9, 14);
        if (y + lineHeight > top + rows) {
            return;
        }
        const QRgb ink = uniform(m_rng, 0, 5) == 0 ? qRgb(30, 60, uniform(m_rng, 150, 220))
                                                   : grey(uniform(m_rng, 10, 140));
        const int lineEnd = margin + (width() - 2 * margin) * uniform(m_rng, 30, 100) / 100;
        drawWords(margin, lineEnd, y, lineHeight, ink, m_rng);
        y += pitch > 0 ? pitch : lineHeight + uniform(m_rng, 3, 9);
    }
}

// Table rows differ in little but a name and an amount: the status and the
// date come from a few words drawn alike wherever they appear, which is what
// makes tables hard to match.
void ScrollPage::drawTable() {
    const int pitch = uniform(m_rng, 22, 30);
    const QRgb rule = grey(uniform(m_rng, 200, 225));
    const QRgb shade = grey(uniform(m_rng, 236, 244));
    for (int y = 0, row = 0; y < height(); y += pitch, ++row) {
        if (row % 2 == 1) {
            fill(QRect(0, y, width(), pitch), shade);
        }
        fill(QRect(0, y + pitch - 1, width(), 1), rule);
        const int top = y + pitch / 2 - 5;
        drawWords(8, uniform(m_rng, 60, 130), top, 10, grey(30), m_rng);
        drawWords(150, uniform(m_rng, 175, 210), top, 10, grey(80), m_rng);
        std::mt19937 status(uniform(m_rng, 0, 2));
        drawWords(235, 290, top, 10, grey(80), status);
        std::mt19937 date(uniform(m_rng, 3, 11));
        drawWords(320, 390, top, 10, grey(80), date);
    }
    for (const int x : {142, 227, 312}) {
        fill(QRect(x, 0, 1, height()), rule);
    }
}

// A chat or mail list: one of three avatars, a name, a time of a few
// dozen, a preview line, a separator.
void ScrollPage::drawList() {
    const int pitch = uniform(m_rng, 56, 72);
    const QRgb rule = grey(uniform(m_rng, 215, 230));
    for (int y = 0; y < height(); y += pitch) {
        std::mt19937 avatar(uniform(m_rng, 20, 22));
        drawPicture(QRect(12, y + (pitch - 40) / 2, 40, 40), avatar);
        drawWords(64, uniform(m_rng, 120, 220), y + 10, 14, grey(25), m_rng);
        std::mt19937 time(uniform(m_rng, 30, 60));
        drawWords(width() - 44, width() - 12, y + 12, 10, grey(130), time);
        drawWords(64, width() - 26, y + 32, 11, grey(110), m_rng);
        fill(QRect(64, y + pitch - 1, width() - 64, 1), rule);
    }
}

// Source code: short lines of one pitch whose indent moves a level at a
// time, blank lines, and a gutter of line numbers whose digits are drawn
// alike wherever they appear.
void ScrollPage::drawCode() {
    const int pitch = uniform(m_rng, 16, 20);
    fill(QRect(0, 0, 44, height()), grey(uniform(m_rng, 232, 242)));
    int indent = 0;
    for (int y = 2, line = 1; y + pitch <= height(); y += pitch, ++line) {
        for (int number = line, right = 38; number > 0; number /= 10, right -= 8) {
            std::mt19937 digit(100 + number % 10);
            drawWords(right - 6, right, y + 3, pitch - 6, grey(150), digit);
        }
        indent = std::clamp(indent + uniform(m_rng, -1, 1), 0, 5);
        if (uniform(m_rng, 0, 5) > 0) {
            const int left = 54 + indent * 16;
            const int right = std::min(width() - 8, left + uniform(m_rng, 30, 260));
            drawWords(left, right, y + 3, pitch - 6, grey(uniform(m_rng, 20, 90)), m_rng);
        }
    }
}

// Words between `left` and `right`: runs of one- to two-pixel columns of ink
// whose extent varies like glyph stems, ascenders and descenders.
void ScrollPage::drawWords(int left, int right, int top, int rows, QRgb ink, std::mt19937& rng) {
    for (int x = left; x < right;) {
        const int wordEnd = std::min(right, x + uniform(rng, 6, 40));
        for (; x < wordEnd; x += uniform(rng, 1, 3)) {
            const int a = uniform(rng, 0, rows / 3);
            const int b = uniform(rng, rows / 2, rows);
            fill(QRect(x, top + a, uniform(rng, 1, 2), b - a), ink);
        }
        x = wordEnd + uniform(rng, 3, 8);
    }
}

// A smooth illustration or a photo with grain: waves over a gradient.
void ScrollPage::drawPicture(const QRect& area, std::mt19937& rng) {
    const bool grainy = uniform(rng, 0, 1) == 1;
    const int base[3] = {uniform(rng, 0, 200), uniform(rng, 0, 200), uniform(rng, 0, 200)};
    const double fx = uniform(rng, 5, 40) / 1000.0;
    const double fy = uniform(rng, 5, 60) / 1000.0;
    const QRect shown = area & m_image.rect();
    for (int y = shown.top(); y <= shown.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(m_image.scanLine(y));
        const int row = y - area.top();
        for (int x = shown.left(); x <= shown.right(); ++x) {
            const int level = int(40.0 * std::sin(x * fx) * std::cos(row * fy)) + row / 3 +
                              (grainy ? uniform(rng, -12, 12) : 0);
            line[x] = qRgb(std::clamp(base[0] + level, 0, 255), std::clamp(base[1] + level, 0, 255),
                           std::clamp(base[2] + level, 0, 255));
        }
    }
}

// Identical stripes every `period` rows, like the rows of a plain table.
void ScrollPage::drawStripes(int top, int rows, int period) {
    const QRgb dark = grey(uniform(m_rng, 160, 215));
    const int darkRows = uniform(m_rng, 1, period - 1);
    fill(QRect(0, top, width(), rows), grey(uniform(m_rng, 230, 250)));
    for (int y = top; y < top + rows; y += period) {
        fill(QRect(0, y, width(), std::min(darkRows, top + rows - y)), dark);
    }
}

void ScrollPage::fill(const QRect& area, QRgb colour) {
    const QRect shown = area & m_image.rect();
    for (int y = shown.top(); y <= shown.bottom(); ++y) {
        std::fill_n(reinterpret_cast<QRgb*>(m_image.scanLine(y)) + shown.left(), shown.width(),
                    colour);
    }
}

void ScrollPage::addNoise(QImage& frame, uint32_t seed, int amplitude) {
    // xorshift32: a full Mersenne Twister draw per channel would dominate the
    // harness in the sanitizer build.
    uint32_t state = seed * 2654435761u + 1;
    auto next = [&state, amplitude] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return int(state % uint32_t(2 * amplitude + 1)) - amplitude;
    };
    for (int y = 0; y < frame.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(frame.scanLine(y));
        for (int x = 0; x < frame.width(); ++x) {
            const QRgb p = line[x];
            line[x] =
                qRgb(std::clamp(qRed(p) + next(), 0, 255), std::clamp(qGreen(p) + next(), 0, 255),
                     std::clamp(qBlue(p) + next(), 0, 255));
        }
    }
}

} // namespace vellumix::testing
