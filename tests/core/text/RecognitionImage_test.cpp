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

RecognitionOptions onlyInversion() {
    RecognitionOptions options;
    options.upscale = 1;
    return options;
}

} // namespace

TEST(RecognitionImage, preparedImageIsGreyAndEnlargedTwice) {
    QImage source = filled(40, 20, Qt::white);
    paint(source, QRect(4, 4, 10, 10), QColor(0x40, 0x40, 0x40));
    const QImage prepared = RecognitionImage::prepare(source, {});
    ASSERT_EQ(prepared.format(), QImage::Format_Grayscale8);
    ASSERT_EQ(prepared.size(), QSize(80, 40));
    // The square's centre, (9, 9) in the source, lands at twice that.
    EXPECT_EQ(greyAt(prepared, 18, 18), 0x40);
    EXPECT_EQ(greyAt(prepared, 60, 30), 255);
    EXPECT_EQ(greyAt(prepared, 79, 39), 255);
}

TEST(RecognitionImage, darkAreasTurnLightAndLightAreasStay) {
    // A dark sidebar with light text beside a light page with dark text.
    QImage source = filled(192, 96, Qt::white);
    paint(source, QRect(0, 0, 96, 96), QColor(0x1e, 0x1e, 0x1e));
    paint(source, QRect(44, 44, 8, 8), QColor(0xe6, 0xe6, 0xe6));
    paint(source, QRect(140, 44, 8, 8), QColor(0x20, 0x20, 0x20));
    const QImage prepared = RecognitionImage::prepare(source, onlyInversion());
    ASSERT_EQ(prepared.size(), source.size());
    EXPECT_EQ(greyAt(prepared, 10, 10), 255 - 0x1e);
    EXPECT_EQ(greyAt(prepared, 47, 47), 255 - 0xe6);
    EXPECT_EQ(greyAt(prepared, 180, 10), 255);
    EXPECT_EQ(greyAt(prepared, 143, 47), 0x20);
}

TEST(RecognitionImage, inversionCanBeLeftOut) {
    QImage source = filled(48, 48, QColor(0x1e, 0x1e, 0x1e));
    RecognitionOptions options = onlyInversion();
    options.invertDarkAreas = false;
    EXPECT_EQ(greyAt(RecognitionImage::prepare(source, options), 24, 24), 0x1e);
}

TEST(RecognitionImage, transparentPixelsCountAsWhitePaper) {
    QImage source(30, 30, QImage::Format_ARGB32);
    source.fill(Qt::transparent);
    const QImage prepared = RecognitionImage::prepare(source, onlyInversion());
    EXPECT_EQ(greyAt(prepared, 0, 0), 255);
    EXPECT_EQ(greyAt(prepared, 15, 15), 255);
}

TEST(RecognitionImage, enlargingStopsAtTheSideAndPixelLimits) {
    EXPECT_EQ(RecognitionImage::upscaleFactor(QSize(1440, 900), 2), 2);
    EXPECT_EQ(RecognitionImage::upscaleFactor(QSize(3840, 2160), 2), 2);
    EXPECT_EQ(RecognitionImage::upscaleFactor(QSize(5120, 2880), 2), 1);
    EXPECT_EQ(RecognitionImage::upscaleFactor(QSize(3840, 2160), 3), 2);
    EXPECT_EQ(RecognitionImage::upscaleFactor(QSize(800, 20000), 2), 1);
    const int half = RecognitionImage::maxSide / 2;
    EXPECT_EQ(RecognitionImage::upscaleFactor(QSize(10, half), 2), 2);
    EXPECT_EQ(RecognitionImage::upscaleFactor(QSize(10, half + 1), 2), 1);
    EXPECT_EQ(RecognitionImage::upscaleFactor(QSize(10, 10), 0), 1);
}
