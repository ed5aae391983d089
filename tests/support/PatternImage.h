#pragma once

#include <QImage>
#include <QSize>

namespace vellumix {

// The colour of pixel (x, y) of a pattern: x and y in red and green, their
// high bits in blue over `seed`. Every pixel of an image up to 4096 pixels a
// side differs, so any crop shows exactly where it came from; patterns under
// 512 pixels a side with seeds 0x20 apart share no colour.
inline QRgb patternColor(int seed, int x, int y) {
    return qRgb(x & 0xff, y & 0xff, seed + (x >> 8) * 16 + (y >> 8));
}

inline QImage patternImage(QSize size, int seed = 0) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            line[x] = patternColor(seed, x, y);
        }
    }
    return image.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
}

} // namespace vellumix
