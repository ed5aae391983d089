#include "platform/PlatformError.h"
#include "platform/x11/X11PixelConverter.h"

#include <QColorSpace>

#include <gtest/gtest.h>

namespace vellumix {
namespace {

TEST(PixelConverterTest, littleEndianBgrxBecomesOpaqueRgba) {
    // Two pixels as a little-endian X server sends them: B, G, R, padding.
    const uchar data[] = {0x30, 0x20, 0x10, 0x00, 0xff, 0x80, 0x01, 0x7f};
    const QImage image = imageFromZPixmap(data, QSize(2, 1), X11PixelLayout{});
    ASSERT_EQ(image.format(), QImage::Format_RGBA8888_Premultiplied);
    EXPECT_EQ(image.colorSpace(), QColorSpace(QColorSpace::SRgb));
    const uchar* line = image.constScanLine(0);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(line), 8),
              QByteArray("\x10\x20\x30\xff\x01\x80\xff\xff", 8));
}

TEST(PixelConverterTest, bigEndianServerOrderAndOtherMasksAreHonoured) {
    X11PixelLayout layout;
    layout.lsbFirst = false;
    layout.redMask = 0x000000ff;
    layout.greenMask = 0x0000ff00;
    layout.blueMask = 0x00ff0000;
    // Most significant byte first: padding, blue, green, red.
    const uchar data[] = {0x00, 0x30, 0x20, 0x10};
    const QImage image = imageFromZPixmap(data, QSize(1, 1), layout);
    EXPECT_EQ(image.pixel(0, 0), qRgb(0x10, 0x20, 0x30));
}

TEST(PixelConverterTest, unsupportedLayoutsFailClearly) {
    X11PixelLayout sixteenBit;
    sixteenBit.bitsPerPixel = 16;
    const uchar data[8] = {};
    EXPECT_THROW(imageFromZPixmap(data, QSize(1, 1), sixteenBit), PlatformError);
    X11PixelLayout tenBit;
    tenBit.redMask = 0x3ff00000;
    EXPECT_THROW(imageFromZPixmap(data, QSize(1, 1), tenBit), PlatformError);
}

} // namespace
} // namespace vellumix
