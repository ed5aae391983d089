#include "stitching/FrameSignature.h"

#include <QColor>

#include <gtest/gtest.h>

#include <array>
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
    const std::pair<QColor, uint8_t> cases[] = {{Qt::white, 255},
                                                {Qt::black, 0},
                                                {QColor(255, 0, 0), 77},
                                                {QColor(0, 255, 0), 149},
                                                {QColor(0, 0, 255), 29}};
    const QImage::Format formats[] = {QImage::Format_RGB32, QImage::Format_RGBA8888_Premultiplied,
                                      QImage::Format_RGBX8888, QImage::Format_RGB888,
                                      QImage::Format_ARGB32};
    for (const auto& [colour, grey] : cases) {
        for (QImage::Format format : formats) {
            const FrameSignature s(filled(8, 2, colour, format));
            EXPECT_EQ(greyAt(s, 3, 1), grey) << colour.name().toStdString() << " " << format;
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
    ASSERT_EQ(QSize(s.width(), s.height()), QSize(64, 2));
    // Column 0 spans source 0 (black) and half of source 1 (white): 255 / 3;
    // column 1 half of source 1 (white) and source 2 (black); column 2 source
    // 3 (white) and half of source 4 (black): 170; the last column half of
    // source 94 (black) and source 95 (white).
    EXPECT_EQ((std::array{greyAt(s, 0, 0), greyAt(s, 1, 0), greyAt(s, 2, 0), greyAt(s, 63, 0)}),
              (std::array<uint8_t, 4>{85, 85, 170, 170}));
    const FrameSignature narrow(filled(40, 5, Qt::white, QImage::Format_RGB32));
    EXPECT_EQ(QSize(narrow.width(), narrow.height()), QSize(40, 5));
}

TEST(FrameSignature, unreadableFramesAndMalformedRawValuesThrow) {
    EXPECT_THROW(FrameSignature{QImage()}, std::invalid_argument);
    EXPECT_THROW(FrameSignature(0, 1, {}), std::invalid_argument);
    EXPECT_THROW(FrameSignature(2, 0, {}), std::invalid_argument);
    EXPECT_THROW(FrameSignature(2, 2, {1, 2, 3}), std::invalid_argument);
}

} // namespace
} // namespace vellumix
