#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

namespace vellumix {

// A test window: its title, where it lies on the X screen (device pixels of
// the root window, client area), the seed of its pattern and whether the
// window manager decorates it.
struct PatternWindowSpec {
    QString title;
    QRect pixels;
    int seed = 0;
    bool framed = false;
};

// The colour of window-local pixel (x, y): every pixel of a window below
// 1024 × 1024 differs, and seeds 0x20 apart keep windows apart.
inline QRgb patternColor(int seed, int x, int y) {
    return qRgb(seed + ((x >> 8) << 2) + (y >> 8), x & 0xff, y & 0xff);
}

inline QImage patternImage(int seed, QSize size) {
    QImage image(size, QImage::Format_RGBA8888_Premultiplied);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            image.setPixel(x, y, patternColor(seed, x, y));
        }
    }
    return image;
}

} // namespace vellumix
