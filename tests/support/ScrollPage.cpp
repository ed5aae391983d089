#include "support/ScrollPage.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

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
    if (options.layout == Layout::mixed) {
        int top = uniform(m_rng, 0, 20);
        while (top < options.height) {
            top = drawBlock(top);
        }
    } else {
        drawLayout(options.layout);
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
        drawWords(painter, margin, lineEnd, y, lineHeight, ink);
        y += lineHeight + uniform(m_rng, 3, 9);
    }
}

// Words between `left` and `right`: runs of one- to two-pixel columns of ink
// whose extent varies like glyph stems, ascenders and descenders.
void ScrollPage::drawWords(QPainter& painter, int left, int right, int top, int lineHeight,
                           const QColor& ink) {
    for (int x = left; x < right;) {
        const int wordEnd = std::min(right, x + uniform(m_rng, 6, 40));
        for (; x < wordEnd; x += uniform(m_rng, 1, 3)) {
            const int a = uniform(m_rng, 0, lineHeight / 3);
            const int b = uniform(m_rng, lineHeight / 2, lineHeight);
            painter.fillRect(x, top + a, uniform(m_rng, 1, 2), b - a, ink);
        }
        x = wordEnd + uniform(m_rng, 3, 8);
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

void ScrollPage::drawLayout(Layout layout) {
    QPainter painter(&m_image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    switch (layout) {
    case Layout::table:
        return drawTable(painter);
    case Layout::list:
        return drawList(painter);
    case Layout::code:
        return drawCode(painter);
    case Layout::article:
    case Layout::mixed:
        return drawArticle(painter);
    }
}

// Lower-case words of two to nine letters, `count` of them.
QString ScrollPage::words(int count) {
    QString text;
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            text += QLatin1Char(' ');
        }
        for (int letters = uniform(m_rng, 2, 9); letters > 0; --letters) {
            text += QChar(u'a' + uniform(m_rng, 0, 25));
        }
    }
    return text;
}

void ScrollPage::setFont(QPainter& painter, const char* family, int pixelSize, bool bold) {
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    painter.setFont(font);
}

// Every row has the same height, rules and columns; a row has a name, an
// amount, a status and a date, the last two from a small vocabulary. Rows
// differ in little but the name and the amount, which is what makes tables
// hard to match.
void ScrollPage::drawTable(QPainter& painter) {
    const int rowHeight = uniform(m_rng, 22, 30);
    const QColor rule(grey(uniform(m_rng, 200, 225)));
    const QColor shade(grey(uniform(m_rng, 236, 244)));
    const int columns[] = {8, 150, 235, 320};
    const QString statuses[] = {QStringLiteral("Active"), QStringLiteral("Pending"),
                                QStringLiteral("Closed")};
    setFont(painter, "Nimbus Sans", 13, false);
    for (int y = 0, row = 0; y < height(); y += rowHeight, ++row) {
        if (row % 2 == 1) {
            painter.fillRect(0, y, width(), rowHeight, shade);
        }
        painter.fillRect(0, y + rowHeight - 1, width(), 1, rule);
        const int baseline = y + rowHeight / 2 + 5;
        painter.setPen(QColor(grey(30)));
        QString name = words(2);
        name[0] = name[0].toUpper();
        painter.drawText(columns[0], baseline, name.left(18));
        painter.setPen(QColor(grey(80)));
        painter.drawText(columns[1], baseline,
                         QStringLiteral("%1.%2")
                             .arg(uniform(m_rng, 100, 9999))
                             .arg(uniform(m_rng, 0, 99), 2, 10, QLatin1Char('0')));
        painter.drawText(columns[2], baseline, statuses[uniform(m_rng, 0, 2)]);
        painter.drawText(
            columns[3], baseline,
            QStringLiteral("2024-0%1-1%2").arg(uniform(m_rng, 1, 3)).arg(uniform(m_rng, 0, 2)));
    }
    for (int c = 1; c < 4; ++c) {
        painter.fillRect(columns[c] - 8, 0, 1, height(), rule);
    }
}

// A chat or mail list: entries of one height, each an avatar of a few
// colours, a name, a time and a line of preview text cut at the edge, above
// a separator.
void ScrollPage::drawList(QPainter& painter) {
    const int itemHeight = uniform(m_rng, 56, 72);
    const QColor rule(grey(uniform(m_rng, 215, 230)));
    const QColor avatars[] = {QColor(90, 130, 200), QColor(200, 120, 80), QColor(120, 170, 110)};
    painter.setPen(Qt::NoPen);
    for (int y = 0; y < height(); y += itemHeight) {
        painter.setBrush(avatars[uniform(m_rng, 0, 2)]);
        painter.drawEllipse(12, y + (itemHeight - 40) / 2, 40, 40);
        painter.setPen(QColor(grey(25)));
        setFont(painter, "Nimbus Sans", 14, true);
        QString name = words(2);
        name[0] = name[0].toUpper();
        painter.drawText(64, y + 24, name);
        setFont(painter, "Nimbus Sans", 11, false);
        painter.setPen(QColor(grey(130)));
        painter.drawText(
            width() - 44, y + 22,
            QStringLiteral("%1:%2").arg(uniform(m_rng, 10, 23)).arg(uniform(m_rng, 10, 59)));
        setFont(painter, "Nimbus Sans", 12, false);
        painter.setPen(QColor(grey(110)));
        painter.drawText(QRect(64, y + 30, width() - 90, 18), Qt::AlignLeft | Qt::AlignTop,
                         words(uniform(m_rng, 3, 12)));
        painter.setPen(Qt::NoPen);
        painter.fillRect(64, y + itemHeight - 1, width() - 64, 1, rule);
    }
}

// Source code: a gutter of line numbers, indentation that changes a level at
// a time, coloured tokens and the odd blank line.
void ScrollPage::drawCode(QPainter& painter) {
    const int lineHeight = uniform(m_rng, 15, 18);
    constexpr int gutter = 40;
    const QColor tokens[] = {QColor(30, 30, 30), QColor(0, 70, 170), QColor(20, 120, 40),
                             QColor(150, 40, 110)};
    painter.fillRect(0, 0, gutter, height(), QColor(grey(236)));
    setFont(painter, "Nimbus Mono PS", 12, false);
    int indent = 0;
    bool lastBlank = false;
    for (int y = 0, number = 1; y < height(); y += lineHeight, ++number) {
        const int baseline = y + lineHeight - 4;
        painter.setPen(QColor(grey(150)));
        painter.drawText(QRect(0, y, gutter - 6, lineHeight), Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(number));
        lastBlank = !lastBlank && uniform(m_rng, 0, 7) == 0;
        if (lastBlank) {
            continue;
        }
        indent = std::clamp(indent + uniform(m_rng, -1, 1), 0, 5);
        int x = gutter + 8 + indent * 14;
        for (int count = uniform(m_rng, 1, 5); count > 0 && x < width() - 20; --count) {
            const QString token = words(1);
            painter.setPen(tokens[uniform(m_rng, 0, 3)]);
            painter.drawText(x, baseline, token);
            x += painter.fontMetrics().horizontalAdvance(token + QLatin1Char(' '));
        }
    }
}

// Headings over paragraphs of evenly spaced lines, with a picture now and
// then; no gap is taller than a heading's spacing.
void ScrollPage::drawArticle(QPainter& painter) {
    const int margin = uniform(m_rng, 12, 28);
    const int lineHeight = uniform(m_rng, 17, 21);
    int y = uniform(m_rng, 6, 18);
    while (y < height()) {
        const int kind = uniform(m_rng, 0, 9);
        if (kind == 0) {
            const int pictureHeight = uniform(m_rng, 60, 140);
            painter.end();
            drawPicture(y, pictureHeight);
            painter.begin(&m_image);
            y += pictureHeight + 14;
            continue;
        }
        painter.setPen(QColor(grey(20)));
        if (kind == 1) {
            setFont(painter, "Nimbus Sans", 20, true);
            painter.drawText(margin, y + 22, words(uniform(m_rng, 2, 5)));
            y += 34;
            continue;
        }
        setFont(painter, "Nimbus Sans", 13, false);
        for (int lines = uniform(m_rng, 2, 8); lines > 0; --lines, y += lineHeight) {
            painter.drawText(QRect(margin, y, width() - 2 * margin, lineHeight),
                             Qt::AlignLeft | Qt::AlignVCenter, words(lines == 1 ? 4 : 12));
        }
        y += 12;
    }
}

} // namespace vellumix::testing
