#pragma once

#include <QColorSpace>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>
#include <QString>

#include <algorithm>
#include <cmath>
#include <iterator>

// Images that compress and filter like real screenshots: flat window chrome,
// gradient bars, rows of anti-aliased text, buttons, and a photo-like area of
// smooth colour with sensor-like noise. Deterministic for a given seed.
namespace vellumix::bench {

namespace screenshot_like_detail {

inline QString wordsLine(QRandomGenerator& random, int words) {
    static const char* const vocabulary[] = {
        "capture", "window",  "the",  "scroll", "image",  "of", "editor",  "panel",
        "select",  "region",  "save", "export", "marker", "to", "preview", "and",
        "status",  "display", "text", "arrow",  "pixel",  "a",  "layer",   "file"};
    QString line;
    for (int i = 0; i < words; ++i) {
        line += QString::fromLatin1(vocabulary[random.bounded(int(std::size(vocabulary)))]);
        line += QLatin1Char(' ');
    }
    return line;
}

inline void drawTextColumn(QPainter& painter, QRandomGenerator& random, QRect area, QColor ink) {
    painter.setPen(ink);
    painter.setFont(QFont(QStringLiteral("Helvetica"), 11));
    for (int y = area.top() + 18; y < area.bottom(); y += 20) {
        const int words = 4 + random.bounded(area.width() / 70 + 1);
        painter.drawText(QPoint(area.left() + 12, y), wordsLine(random, words));
    }
}

inline void drawPhoto(QImage& image, QRandomGenerator& random, QRect area) {
    area = area.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        uint8_t* row = image.scanLine(y);
        for (int x = area.left(); x <= area.right(); ++x) {
            const double u = double(x - area.left()) / area.width();
            const double v = double(y - area.top()) / area.height();
            const int noise = int(random.bounded(25u)) - 12;
            const int base[3] = {int(90 + 120 * u), int(140 + 60 * std::sin(6 * v)),
                                 int(200 - 110 * v * u)};
            for (int c = 0; c < 3; ++c) {
                row[4 * x + c] = uint8_t(std::clamp(base[c] + noise, 0, 255));
            }
            row[4 * x + 3] = 255;
        }
    }
}

} // namespace screenshot_like_detail

inline QImage makeScreenshotLike(int width, int height, quint32 seed = 1) {
    using namespace screenshot_like_detail;
    QImage image(width, height, QImage::Format_RGBA8888_Premultiplied);
    image.setColorSpace(QColorSpace::SRgb);
    image.fill(QColor(246, 246, 246));
    QRandomGenerator random(seed);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    QLinearGradient bar(0, 0, 0, 44);
    bar.setColorAt(0, QColor(236, 236, 238));
    bar.setColorAt(1, QColor(212, 212, 216));
    const int sidebar = width / 6;
    // Window chrome repeats every 1,080 rows so tall images look like
    // several stacked windows of the same application.
    for (int top = 0; top < height; top += 1080) {
        painter.fillRect(QRect(0, top, width, 44), bar);
        painter.fillRect(QRect(0, top + 44, sidebar, 1036), QColor(228, 232, 238));
        for (int b = 0; b < 6; ++b) {
            painter.setBrush(QColor(70 + 20 * b, 120, 220 - 15 * b));
            painter.setPen(Qt::NoPen);
            painter.drawRoundedRect(QRectF(12 + 96 * b, top + 8, 84, 28), 6, 6);
        }
        drawTextColumn(painter, random, QRect(0, top + 50, sidebar, 1020), QColor(60, 60, 70));
        const int content = sidebar + 24;
        drawTextColumn(painter, random, QRect(content, top + 60, width / 2 - content, 1010),
                       QColor(20, 20, 24));
        drawPhoto(image, random, QRect(width / 2 + 20, top + 80, width / 2 - 60, 520));
        drawTextColumn(painter, random, QRect(width / 2 + 20, top + 620, width / 2 - 60, 440),
                       QColor(40, 40, 90));
    }
    painter.end();
    return image;
}

} // namespace vellumix::bench
