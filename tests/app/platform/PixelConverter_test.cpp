#include "platform/PlatformError.h"
#include "platform/wayland/PipeWireStream.h"
#include "platform/x11/X11PixelConverter.h"

#include <gtest/gtest.h>

namespace vellumix {
namespace {

// The little-endian layout of the test X server is checked pixel for pixel
// by the capture tests under it.
TEST(PixelConverterTest, bigEndianOrderAndOtherMasksAreHonouredAndUnreadableLayoutsRefused) {
    X11PixelLayout layout;
    layout.lsbFirst = false;
    layout.redMask = 0x000000ff;
    layout.greenMask = 0x0000ff00;
    layout.blueMask = 0x00ff0000;
    // Most significant byte first: padding, blue, green, red.
    const uchar data[] = {0x00, 0x30, 0x20, 0x10};
    const QImage image = imageFromZPixmap(data, QSize(1, 1), layout);
    EXPECT_EQ(image.pixel(0, 0), qRgb(0x10, 0x20, 0x30));
    // Layouts it cannot read fail clearly.
    X11PixelLayout sixteenBit;
    sixteenBit.bitsPerPixel = 16;
    EXPECT_THROW(imageFromZPixmap(data, QSize(1, 1), sixteenBit), PlatformError);
    X11PixelLayout tenBit;
    tenBit.redMask = 0x3ff00000;
    EXPECT_THROW(imageFromZPixmap(data, QSize(1, 1), tenBit), PlatformError);
}

// A cast's frames carry in their fourth byte what the compositor's blending
// left there: screenshots of translucent windows must not turn translucent.
TEST(PixelConverterTest, castFramesAreReadOpaqueWhateverTheirFourthByte) {
    for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_RGBX8888}) {
        // Red, green and blue in the layout's order, then a stray 0x40.
        const uchar data[] = {0x10, 0x20, 0x30, 0x40, 0x10, 0x20, 0x30, 0x40};
        const QImage frame(data, 2, 1, 8, format);
        const QImage copy = opaqueCopy(frame, QRect(1, 0, 1, 1));
        EXPECT_EQ(copy.size(), QSize(1, 1));
        EXPECT_EQ(copy.pixel(0, 0),
                  format == QImage::Format_RGB32 ? qRgb(0x30, 0x20, 0x10) : qRgb(0x10, 0x20, 0x30));
    }
}

} // namespace
} // namespace vellumix
