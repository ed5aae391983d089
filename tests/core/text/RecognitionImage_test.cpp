#include "text/RecognitionImage.h"

#include <gtest/gtest.h>

using namespace vellumix;

namespace {

QImage filled(int width, int height, const QColor& color) {
    QImage image(width, height, QImage::Format_RGBA8888_Premultiplied);
    image.fill(color);
    return image;
}

void paint(QImage& image, const QRect& rect, const QColor& color) {
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            image.setPixelColor(x, y, color);
        }
    }
}

int greyAt(const QImage& image, int x, int y) {
    return image.constScanLine(y)[x];
}

} // namespace

TEST(RecognitionImage, smallTextIsEnlargedTwiceLargeTextAndHiDpiPixelsAreNot) {
    // Strokes as tall as small and as large letters; the source's device
    // pixel ratio never changes how many pixels are read.
    for (const auto& [strokeHeight, pixelRatio, factor] :
         {std::tuple(8, 1.0, 2), std::tuple(8, 2.0, 2), std::tuple(20, 2.0, 1)}) {
        QImage source = filled(60, 40, Qt::white);
        source.setDevicePixelRatio(pixelRatio);
        paint(source, QRect(10, 10, 2, strokeHeight), QColor(0x20, 0x20, 0x20));
        paint(source, QRect(20, 10, 2, strokeHeight), QColor(0x20, 0x20, 0x20));
        const QImage prepared = RecognitionImage::prepare(source, {});
        ASSERT_EQ(prepared.format(), QImage::Format_Grayscale8);
        ASSERT_EQ(prepared.size(), QSize(60, 40) * factor) << strokeHeight;
        EXPECT_EQ(greyAt(prepared, 10 * factor + 1, 14 * factor), 0) << strokeHeight;
        EXPECT_EQ(greyAt(prepared, 40 * factor, 30 * factor), 255) << strokeHeight;
    }
}

// Transparent pixels count as white paper.
TEST(RecognitionImage, withoutTextContrastTheImageIsOnlyMadeGreyOnWhite) {
    QImage source(48, 48, QImage::Format_ARGB32);
    source.fill(Qt::transparent);
    paint(source, QRect(24, 0, 24, 48), QColor(0x1e, 0x1e, 0x1e));
    RecognitionOptions options;
    options.upscale = 1;
    options.textContrast = false;
    const QImage prepared = RecognitionImage::prepare(source, options);
    EXPECT_EQ(greyAt(prepared, 10, 24), 255);
    EXPECT_EQ(greyAt(prepared, 36, 24), 0x1e);
}

TEST(RecognitionImage, enlargingStopsAtTheSideAndPixelLimits) {
    EXPECT_EQ(RecognitionImage::upscaleFactor(QSize(3840, 2160), 2), 2);
    EXPECT_EQ(RecognitionImage::upscaleFactor(QSize(5120, 2880), 2), 1);
    EXPECT_EQ(RecognitionImage::upscaleFactor(QSize(3840, 2160), 3), 2);
    EXPECT_EQ(RecognitionImage::upscaleFactor(QSize(800, 20000), 2), 1);
    const int half = RecognitionImage::maxSide / 2;
    EXPECT_EQ(RecognitionImage::upscaleFactor(QSize(10, half), 2), 2);
    EXPECT_EQ(RecognitionImage::upscaleFactor(QSize(10, half + 1), 2), 1);
    EXPECT_EQ(RecognitionImage::upscaleFactor(QSize(10, 10), 0), 1);
}
