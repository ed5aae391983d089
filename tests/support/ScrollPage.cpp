#include "support/ScrollPage.h"

#include <QPainter>

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
    m_background = grey(uniform(m_rng, 244, 255));
    m_image.fill(m_background);
    int top = uniform(m_rng, 0, 20);
    while (top < options.height) {
        top = drawBlock(top);
    }
    if (options.bandHeight > 0 && options.bandStriped) {
        drawStripes(options.bandTop, options.bandHeight, uniform(m_rng, 6, 14));
    } else if (options.bandHeight > 0) {
        QPainter(&m_image).fillRect(0, options.bandTop, width(), options.bandHeight,
                                    QColor(m_background));
    }
}

// Draws one block at `top` and answers where the next one starts.
// Blank bands and rules never follow each other, so no stretch without
// content is taller than about 150 rows, half of the frames used with it.
int ScrollPage::drawBlock(int top) {
    const int kind = uniform(m_rng, 0, m_afterContent ? 11 : 8);
    m_afterContent = kind < 9;
    if (kind < 6) {
        const int height = uniform(m_rng, 40, 220);
        drawParagraph(top, height);
        return top + height + uniform(m_rng, 6, 24);
    }
    if (kind < 8) {
        const int height = uniform(m_rng, 40, 160);
        drawPicture(top, height);
        return top + height + uniform(m_rng, 8, 30);
    }
    if (kind < 9) {
        const int height = uniform(m_rng, 24, 64);
        drawStripes(top, height, uniform(m_rng, 4, 12));
        return top + height + uniform(m_rng, 6, 20);
    }
    if (kind < 10) {
        QPainter(&m_image).fillRect(uniform(m_rng, 0, 40), top, width(), uniform(m_rng, 1, 2),
                                    QColor(grey(uniform(m_rng, 150, 220))));
        return top + uniform(m_rng, 6, 16);
    }
    return top + uniform(m_rng, 20, 120);
}

// Lines of "words": runs of one- to three-pixel columns of ink whose extent
// varies like glyph stems, ascenders and descenders.
void ScrollPage::drawParagraph(int top, int height) {
    QPainter painter(&m_image);
    const int margin = uniform(m_rng, 8, 30);
    int y = top;
    while (true) {
        const int lineHeight = uniform(m_rng, 9, 14);
        if (y + lineHeight > top + height) {
            break;
        }
        const int shade = uniform(m_rng, 10, 140);
        const QColor ink = uniform(m_rng, 0, 5) == 0 ? QColor(30, 60, uniform(m_rng, 150, 220))
                                                     : QColor(grey(shade));
        const int lineEnd = margin + (width() - 2 * margin) * uniform(m_rng, 30, 100) / 100;
        for (int x = margin; x < lineEnd;) {
            const int wordEnd = std::min(lineEnd, x + uniform(m_rng, 6, 40));
            for (; x < wordEnd; x += uniform(m_rng, 1, 3)) {
                const int a = uniform(m_rng, 0, lineHeight / 3);
                const int b = uniform(m_rng, lineHeight / 2, lineHeight);
                painter.fillRect(x, y + a, uniform(m_rng, 1, 2), b - a, ink);
            }
            x = wordEnd + uniform(m_rng, 3, 8);
        }
        y += lineHeight + uniform(m_rng, 3, 9);
    }
}

// Either a smooth illustration (gradient with flat shapes) or a photo with
// grain; both run across most of the width.
void ScrollPage::drawPicture(int top, int height) {
    const int left = uniform(m_rng, 0, 40);
    const int right = width() - uniform(m_rng, 0, 40);
    const bool grainy = uniform(m_rng, 0, 1) == 1;
    const int base[3] = {uniform(m_rng, 0, 200), uniform(m_rng, 0, 200), uniform(m_rng, 0, 200)};
    const double fx = uniform(m_rng, 5, 40) / 1000.0;
    const double fy = uniform(m_rng, 5, 60) / 1000.0;
    for (int y = top; y < std::min(top + height, this->height()); ++y) {
        auto* line = reinterpret_cast<QRgb*>(m_image.scanLine(y));
        for (int x = left; x < right; ++x) {
            const double wave = 40.0 * std::sin(x * fx) * std::cos((y - top) * fy);
            const int grain = grainy ? uniform(m_rng, -12, 12) : 0;
            int channel[3];
            for (int c = 0; c < 3; ++c) {
                channel[c] = std::clamp(base[c] + int(wave) + (y - top) / 3 + grain, 0, 255);
            }
            line[x] = qRgb(channel[0], channel[1], channel[2]);
        }
    }
    QPainter painter(&m_image);
    for (int shapes = uniform(m_rng, 1, 4); shapes > 0; --shapes) {
        const QRect box(uniform(m_rng, left, right - 20), top + uniform(m_rng, 0, height / 2),
                        uniform(m_rng, 10, 80), uniform(m_rng, 8, height / 2));
        painter.setBrush(
            QColor(uniform(m_rng, 0, 255), uniform(m_rng, 0, 255), uniform(m_rng, 0, 255)));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(box.intersected(QRect(left, top, right - left, height)));
    }
}

// Identical stripes every `period` rows, like the rows of a plain table.
void ScrollPage::drawStripes(int top, int height, int period) {
    QPainter painter(&m_image);
    const QColor dark(grey(uniform(m_rng, 160, 215)));
    const QColor light(grey(uniform(m_rng, 230, 250)));
    const int darkRows = uniform(m_rng, 1, period - 1);
    painter.fillRect(0, top, width(), height, light);
    for (int y = top; y < top + height; y += period) {
        painter.fillRect(0, y, width(), std::min(darkRows, top + height - y), dark);
    }
}

QImage ScrollPage::frame(int top, int rows) const {
    return m_image.copy(0, top, width(), rows);
}

QImage ScrollPage::frameWithCaret(int top, int rows, int caretRow) const {
    QImage image = frame(top, rows);
    QPainter(&image).fillRect(24, caretRow, 36, 1, QColor(Qt::black));
    return image;
}

} // namespace vellumix::testing
