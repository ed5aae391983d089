#include "platform/x11/X11PixelConverter.h"

#include "platform/PlatformError.h"

#include <QColorSpace>
#include <QtEndian>

#include <bit>
#include <cstring>

namespace vellumix {

namespace {

bool isByteMask(quint32 mask) {
    return mask != 0 && (mask >> std::countr_zero(mask)) == 0xff;
}

} // namespace

QImage imageFromZPixmap(const uchar* data, QSize size, const X11PixelLayout& layout) {
    if (layout.bitsPerPixel != 32 || !isByteMask(layout.redMask) || !isByteMask(layout.greenMask) ||
        !isByteMask(layout.blueMask)) {
        throw PlatformError(QStringLiteral("The screen's pixel format is not supported."));
    }
    const int redShift = std::countr_zero(layout.redMask);
    const int greenShift = std::countr_zero(layout.greenMask);
    const int blueShift = std::countr_zero(layout.blueMask);
    const bool swap = layout.lsbFirst != (std::endian::native == std::endian::little);
    QImage image(size, QImage::Format_RGBA8888_Premultiplied);
    if (image.isNull()) {
        throw PlatformError(QStringLiteral("There is not enough memory to capture the screen."));
    }
    for (int y = 0; y < size.height(); ++y) {
        const uchar* source = data + qsizetype(y) * size.width() * 4;
        uchar* target = image.scanLine(y);
        for (int x = 0; x < size.width(); ++x) {
            quint32 pixel;
            std::memcpy(&pixel, source + x * 4, 4);
            if (swap) {
                pixel = qbswap(pixel);
            }
            target[x * 4] = uchar(pixel >> redShift);
            target[x * 4 + 1] = uchar(pixel >> greenShift);
            target[x * 4 + 2] = uchar(pixel >> blueShift);
            target[x * 4 + 3] = 0xff;
        }
    }
    image.setColorSpace(QColorSpace::SRgb);
    return image;
}

} // namespace vellumix
