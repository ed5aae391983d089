#pragma once

#include <QImage>
#include <QSize>

#include <algorithm>

namespace vellumix {

// Every pixel of the image is distinct (x and y in red and green, their high
// bits in blue), so any crop of it shows exactly where it came from.
inline QImage patternImage(QSize size) {
    QImage image(size, QImage::Format_RGBA8888_Premultiplied);
    for (int y = 0; y < size.height(); ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < size.width(); ++x) {
            const uchar pixel[4] = {uchar(x), uchar(y), uchar((x >> 8) * 16 + (y >> 8)), 0xff};
            std::copy(pixel, pixel + 4, line + x * 4);
        }
    }
    return image;
}

} // namespace vellumix
