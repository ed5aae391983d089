#pragma once

#include "ScreenshotLike.h"

#include <QColorSpace>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QString>

#include <array>
#include <cmath>
#include <functional>
#include <iterator>

// A small corpus of 3,840 × 2,160 screens of the kinds people capture: a
// light document page, source code in a dark editor, a dark-themed
// application, a full-screen photo, and the mixed screen of
// ScreenshotLike.h. Deterministic, so every run compresses the same pixels.
namespace vellumix::bench {

namespace corpus_detail {

inline QImage canvas(QColor background) {
    QImage image(3840, 2160, QImage::Format_RGBA8888_Premultiplied);
    image.setColorSpace(QColorSpace::SRgb);
    image.fill(background);
    return image;
}

inline QString words(QRandomGenerator& random, int count) {
    static const char* const vocabulary[] = {
        "the",   "capture", "of",     "window", "a",       "document", "and",   "screen",
        "image", "to",      "select", "page",   "editor",  "with",     "file",  "in",
        "shows", "every",   "region", "text",   "display", "markers",  "saved", "is"};
    QString line;
    for (int i = 0; i < count; ++i) {
        line += QString::fromLatin1(vocabulary[random.bounded(int(std::size(vocabulary)))]);
        line += QLatin1Char(' ');
    }
    return line;
}

// Paragraphs of body text with headings and a figure, on white.
inline QImage documentPage() {
    QImage image = canvas(QColor(255, 255, 255));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QRandomGenerator random(21);
    painter.fillRect(QRect(0, 0, 3840, 88), QColor(242, 242, 245));
    int y = 160;
    while (y < 2100) {
        painter.setPen(QColor(30, 30, 36));
        painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 22, QFont::Bold));
        painter.drawText(QPoint(900, y), words(random, 5));
        y += 70;
        painter.setFont(QFont(QStringLiteral("DejaVu Serif"), 13));
        for (int line = 0; line < 9 && y < 2100; ++line, y += 38) {
            painter.setPen(line % 4 == 3 ? QColor(20, 80, 190) : QColor(40, 40, 40));
            painter.drawText(QPoint(900, y), words(random, 20 + random.bounded(6)));
        }
        y += 40;
    }
    painter.fillRect(QRect(2700, 300, 700, 420), QColor(230, 236, 246));
    painter.end();
    screenshot_like_detail::drawPhoto(image, random, QRect(2740, 340, 620, 340));
    return image;
}

// Coloured monospace source lines with a gutter and a current-line band.
inline QImage codeEditor() {
    QImage image = canvas(QColor(30, 30, 30));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QRandomGenerator random(22);
    const QColor inks[] = {QColor(212, 212, 212), QColor(86, 156, 214), QColor(206, 145, 120),
                           QColor(106, 153, 85), QColor(197, 134, 192)};
    painter.fillRect(QRect(0, 0, 3840, 60), QColor(45, 45, 48));
    painter.fillRect(QRect(0, 60, 90, 2100), QColor(37, 37, 38));
    painter.fillRect(QRect(90, 60 + 34 * 18, 3750, 34), QColor(42, 45, 46));
    painter.setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 12));
    for (int line = 0; 60 + 34 * line < 2140; ++line) {
        const int y = 60 + 34 * line + 25;
        painter.setPen(QColor(133, 133, 133));
        painter.drawText(QPoint(16, y), QString::number(line + 1));
        int x = 120 + 40 * random.bounded(6);
        for (int token = random.bounded(12); token > 0; --token) {
            const QString text = words(random, 1);
            painter.setPen(inks[random.bounded(int(std::size(inks)))]);
            painter.drawText(QPoint(x, y), text);
            x += 19 * text.size();
        }
    }
    painter.end();
    return image;
}

// Dark panels, a list of rows with icons, buttons and a soft gradient.
inline QImage darkApplication() {
    QImage image = canvas(QColor(36, 37, 41));
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    QRandomGenerator random(23);
    QLinearGradient header(0, 0, 3840, 0);
    header.setColorAt(0, QColor(52, 54, 62));
    header.setColorAt(1, QColor(40, 44, 58));
    painter.fillRect(QRect(0, 0, 3840, 120), header);
    painter.fillRect(QRect(0, 120, 700, 2040), QColor(29, 30, 33));
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 12));
    for (int row = 0; row < 36; ++row) {
        const int y = 150 + 54 * row;
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor::fromHsv(int(random.bounded(360)), 120, 200));
        painter.drawEllipse(QRect(30, y, 36, 36));
        painter.setPen(QColor(200, 202, 208));
        painter.drawText(QPoint(90, y + 26), words(random, 3));
        painter.setPen(QColor(150, 152, 160));
        painter.drawText(QPoint(760, y + 26), words(random, 14 + random.bounded(10)));
    }
    for (int b = 0; b < 8; ++b) {
        painter.setBrush(QColor(64, 120 + 10 * b, 220));
        painter.setPen(Qt::NoPen);
        painter.drawRoundedRect(QRectF(2600 + 150 * b, 30, 130, 60), 12, 12);
    }
    painter.end();
    return image;
}

// A smooth, noisy photograph across the whole screen.
inline QImage fullScreenPhoto() {
    QImage image = canvas(Qt::black);
    QRandomGenerator random(24);
    screenshot_like_detail::drawPhoto(image, random, image.rect());
    return image;
}

struct CorpusImage {
    const char* name;
    QImage (*make)();
};

inline QImage mixedScreen() {
    return makeScreenshotLike(3840, 2160, 11);
}

inline constexpr CorpusImage corpusImages[] = {{"page", documentPage},
                                               {"code", codeEditor},
                                               {"dark", darkApplication},
                                               {"photo", fullScreenPhoto},
                                               {"mixed", mixedScreen}};

} // namespace corpus_detail

using corpus_detail::CorpusImage;
using corpus_detail::corpusImages;

} // namespace vellumix::bench
