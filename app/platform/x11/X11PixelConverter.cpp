#include "platform/x11/X11PixelConverter.h"

#include "platform/PlatformError.h"

#include <QColorSpace>

#include <bit>
#include <cstring>

namespace vellumix {

namespace {

bool isByteMask(quint32 mask) {
    return mask != 0 && (mask >> std::countr_zero(mask)) == 0xff;
}

// Where a channel lies in the pixel word as this machine loads it: a server
// of the other byte order holds byte k of the word at byte 3 - k.
int loadedShift(quint32 mask, bool swapped) {
    const int shift = std::countr_zero(mask);
    return swapped ? 24 - shift : shift;
}

// The same shifts for every pixel, so the compiler turns the loop into vector
// shifts and masks, several pixels an instruction.
void convertRow(const uchar* source, quint32* target, int width, int redShift, int greenShift,
                int blueShift) {
    for (int x = 0; x < width; ++x) {
        quint32 pixel;
        std::memcpy(&pixel, source + x * 4, 4);
        target[x] = (pixel >> redShift & 0xff) | (pixel >> greenShift & 0xff) << 8 |
                    (pixel >> blueShift & 0xff) << 16 | 0xff000000u;
    }
}

} // namespace

QImage imageFromZPixmap(const uchar* data, QSize size, const X11PixelLayout& layout) {
    if (layout.bitsPerPixel != 32 || !isByteMask(layout.redMask) || !isByteMask(layout.greenMask) ||
        !isByteMask(layout.blueMask)) {
        throw PlatformError(QStringLiteral("The screen's pixel format is not supported."));
    }
    const bool swap = layout.lsbFirst != (std::endian::native == std::endian::little);
    const int redShift = loadedShift(layout.redMask, swap);
    const int greenShift = loadedShift(layout.greenMask, swap);
    const int blueShift = loadedShift(layout.blueMask, swap);
    QImage image(size, QImage::Format_RGBA8888_Premultiplied);
    if (image.isNull()) {
        throw PlatformError(QStringLiteral("There is not enough memory to capture the screen."));
    }
    static_assert(std::endian::native == std::endian::little,
                  "RGBA8888 pixels are written as words with red in the low byte");
    for (int y = 0; y < size.height(); ++y) {
        convertRow(data + qsizetype(y) * size.width() * 4,
                   reinterpret_cast<quint32*>(image.scanLine(y)), size.width(), redShift,
                   greenShift, blueShift);
    }
    image.setColorSpace(QColorSpace::SRgb);
    return image;
}

} // namespace vellumix
