#include "platform/PlatformError.h"
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

} // namespace
} // namespace vellumix
