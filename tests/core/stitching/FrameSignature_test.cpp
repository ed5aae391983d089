#include "stitching/FrameSignature.h"

#include <QColor>

#include <gtest/gtest.h>

#include <stdexcept>

namespace vellumix {
namespace {

QImage filled(int width, int height, QColor colour, QImage::Format format) {
    QImage image(width, height, format);
    image.fill(colour);
    return image;
}

uint8_t greyAt(const FrameSignature& s, int64_t column, int64_t row) {
    return s.pixels()[static_cast<size_t>(row * s.width() + column)];
}

TEST(FrameSignature, greyLevelIsTheLuminanceOverBlackInEveryPixelLayout) {
    struct Case {
        QColor colour;
        uint8_t grey;
    };
    const Case cases[] = {{Qt::white, 255},
                          {Qt::black, 0},
                          {QColor(255, 0, 0), 77},
                          {QColor(0, 255, 0), 149},
                          {QColor(0, 0, 255), 29}};
    const QImage::Format formats[] = {QImage::Format_RGB32, QImage::Format_RGBA8888_Premultiplied,
                                      QImage::Format_RGBX8888, QImage::Format_RGB888,
                                      QImage::Format_ARGB32};
    for (const Case& c : cases) {
        for (QImage::Format format : formats) {
            const FrameSignature s(filled(8, 2, c.colour, format));
            EXPECT_EQ(greyAt(s, 3, 1), c.grey) << c.colour.name().toStdString() << " " << format;
        }
    }
    // Transparent pixels read as drawn over black.
    for (const int alpha : {0, 128}) {
        const QImage white = filled(8, 2, QColor(255, 255, 255, alpha), QImage::Format_ARGB32);
        EXPECT_EQ(greyAt(FrameSignature(white), 0, 0), alpha);
    }
}

TEST(FrameSignature, wideFramesSqueezeTo64ColumnsEachAveragingItsExactSpan) {
    // 96 columns into 64: each target column covers one and a half source
    // columns, so black-white pairs become 0/255 mixes of known weights.
    QImage image(96, 2, QImage::Format_RGB32);
    for (int x = 0; x < 96; ++x) {
        image.setPixel(x, 0, x % 2 ? 0xffffffff : 0xff000000);
        image.setPixel(x, 1, 0xffffffff);
    }
    const FrameSignature s(image);
    ASSERT_EQ(s.width(), 64);
    ASSERT_EQ(s.height(), 2);
    // Column 0 spans source 0 (black) and half of source 1 (white): 255 / 3.
    EXPECT_EQ(greyAt(s, 0, 0), 85);
    // Column 1 spans half of source 1 (white) and source 2 (black).
    EXPECT_EQ(greyAt(s, 1, 0), 85);
    // Column 2 spans source 3 (white) and half of source 4 (black): 170.
    EXPECT_EQ(greyAt(s, 2, 0), 170);
    // The last column spans half of source 94 (black) and source 95 (white).
    EXPECT_EQ(greyAt(s, 63, 0), 170);
    const FrameSignature narrow(filled(40, 5, Qt::white, QImage::Format_RGB32));
    EXPECT_EQ(narrow.width(), 40);
    EXPECT_EQ(narrow.height(), 5);
}

TEST(FrameSignature, unreadableFramesAndMalformedRawValuesThrow) {
    EXPECT_THROW(FrameSignature{QImage()}, std::invalid_argument);
    EXPECT_THROW(FrameSignature(0, 1, {}), std::invalid_argument);
    EXPECT_THROW(FrameSignature(2, 0, {}), std::invalid_argument);
    EXPECT_THROW(FrameSignature(2, 2, {1, 2, 3}), std::invalid_argument);
}

} // namespace
} // namespace vellumix
