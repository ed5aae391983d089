#include "imaging/EditedImage.h"

#include "ExpectError.h"
#include "support/PatternImage.h"

#include <QColorSpace>
#include <QPainter>

#include <gtest/gtest.h>

namespace vellumix {
namespace {

using test::expectError;
using Kind = DocumentError::Kind;

ImageMark cover(QRectF rect, QColor colour) {
    return ImageMark(DrawingTool::cover, {rect.topLeft(), rect.bottomRight()}, colour, 4, {});
}

void expectOutputFormat(const QImage& image) {
    EXPECT_EQ(image.format(), QImage::Format_RGBA8888_Premultiplied);
    EXPECT_EQ(image.colorSpace(), QColorSpace(QColorSpace::SRgb));
}

// Transparency is copied too: the output starts clear, not white.
TEST(EditedImageRender, withoutCropOrMarksCopiesTheSource) {
    QImage source = patternImage(QSize(40, 30));
    source.setPixelColor(3, 3, QColor(255, 0, 0, 128));
    source.setPixelColor(4, 3, Qt::transparent);
    const QImage output = EditedImage::render(source, {});
    expectOutputFormat(output);
    source.setColorSpace(QColorSpace::SRgb);
    EXPECT_EQ(output, source);
}

TEST(EditedImageRender, cropIsWidenedToWholePixelsThenClipped) {
    const QImage source = patternImage(QSize(100, 80));
    // Far edges less than half a pixel past a whole pixel still take it in.
    const QImage widened = EditedImage::render(source, {}, QRectF(10.4, 10.6, 20.0, 19.8));
    ASSERT_EQ(widened.size(), QSize(21, 21));
    EXPECT_EQ(widened.pixel(0, 0), source.pixel(10, 10));
    EXPECT_EQ(widened.pixel(20, 20), source.pixel(30, 30));

    const QImage clipped = EditedImage::render(source, {}, QRectF(90, 70, 50, 50));
    ASSERT_EQ(clipped.size(), QSize(10, 10));
    EXPECT_EQ(clipped.pixel(9, 9), source.pixel(99, 79));

    for (const QRectF& outside : {QRectF(100, 0, 10, 10), QRectF(-20, -20, 20, 20),
                                  QRectF(5, 5, 0, 10), QRectF(qQNaN(), 0, 5, 5)}) {
        expectError(Kind::render, [&] { EditedImage::render(source, {}, outside); });
    }
    expectError(Kind::render, [&] { EditedImage::render(QImage(), {}); });
}

TEST(EditedImageRender, otherColourSpacesAreMatchedToSRGBUnderCrop) {
    QImage source = patternImage(QSize(40, 30));
    source.setColorSpace(QColorSpace::AdobeRgb);
    const QImage expected = source.convertedToColorSpace(QColorSpace::SRgb);
    const QImage output = EditedImage::render(source, {}, QRectF(5, 4, 20, 10));
    expectOutputFormat(output);
    ASSERT_EQ(output.size(), QSize(20, 10));
    ASSERT_NE(expected.pixelColor(24, 13), source.pixelColor(24, 13));
    for (const QPoint point : {QPoint(0, 0), QPoint(19, 9), QPoint(7, 3)}) {
        EXPECT_EQ(output.pixelColor(point), expected.pixelColor(point + QPoint(5, 4)));
    }
}

TEST(EditedImageRender, marksKeepSourceCoordinatesUnderCrop) {
    const QImage source = patternImage(QSize(100, 100));
    const QVector<ImageMark> marks{cover(QRectF(50, 50, 10, 10), Qt::red),
                                   cover(QRectF(55, 55, 10, 10), Qt::blue)};
    const QImage output = EditedImage::render(source, marks, QRectF(40, 40, 40, 40));
    EXPECT_EQ(output.pixelColor(10, 10), QColor(Qt::red));
    EXPECT_EQ(output.pixelColor(17, 17), QColor(Qt::blue));
    EXPECT_EQ(output.pixel(9, 9), source.pixel(49, 49));
}

// Blocks under two pixels count as two; a block past the image gives one pixel.
TEST(EditedImagePixelated, eachBlockBecomesOnePixelOfItsAverage) {
    const QImage image = patternImage(QSize(100, 30));
    expectOutputFormat(EditedImage::pixelated(image, 12));
    const std::pair<int, QSize> sizes[] = {
        {12, {9, 3}}, {0, {50, 15}}, {1, {50, 15}}, {-5, {50, 15}}, {1000, {1, 1}}};
    for (const auto& [block, size] : sizes) {
        EXPECT_EQ(EditedImage::pixelated(image, block).size(), size) << block;
    }
    QImage halves(4, 2, QImage::Format_RGBA8888_Premultiplied);
    halves.fill(Qt::white);
    halves.setPixelColor(0, 0, Qt::black);
    halves.setPixelColor(1, 1, Qt::black);
    const QImage reduced = EditedImage::pixelated(halves, 2);
    ASSERT_EQ(reduced.size(), QSize(2, 1));
    EXPECT_NEAR(reduced.pixelColor(0, 0).red(), 128, 2);
    EXPECT_EQ(reduced.pixelColor(1, 0), QColor(Qt::white));
    expectError(Kind::render, [] { EditedImage::pixelated(QImage(), 4); });
}

// Transparent areas become white; the JFIF header claims no resolution
// (units 0, a 1:1 pixel aspect).
TEST(EditedImageJpeg, flattensOntoWhiteCarriesNoResolutionAndClampsQuality) {
    QImage halfTransparent(16, 16, QImage::Format_RGBA8888_Premultiplied);
    halfTransparent.fill(Qt::transparent);
    QPainter(&halfTransparent).fillRect(8, 0, 8, 16, QColor(0, 0, 200));
    const QByteArray bytes = EditedImage::jpeg(halfTransparent, 1);
    ASSERT_EQ(bytes.mid(6, 5), QByteArray("JFIF\0", 5));
    EXPECT_EQ(bytes.mid(13, 5), QByteArray("\0\0\x01\0\x01", 5));
    const QImage decoded = QImage::fromData(bytes, "JPEG");
    ASSERT_EQ(decoded.size(), QSize(16, 16));
    EXPECT_GT(decoded.pixelColor(2, 8).red(), 245);
    EXPECT_GT(decoded.pixelColor(2, 8).blue(), 245);
    EXPECT_LT(decoded.pixelColor(13, 8).red(), 20);
    expectError(Kind::render, [] { EditedImage::jpeg(QImage(), 0.5); });
    // Quality is clamped to 0 through 1.
    const QImage image = patternImage(QSize(64, 64));
    EXPECT_EQ(EditedImage::jpeg(image, 1.5), EditedImage::jpeg(image, 1));
    EXPECT_EQ(EditedImage::jpeg(image, -1), EditedImage::jpeg(image, 0));
    EXPECT_LT(EditedImage::jpeg(image, 0).size(), EditedImage::jpeg(image, 1).size());
    expectError(Kind::render, [&] { EditedImage::jpeg(image, qQNaN()); });
}

} // namespace
} // namespace vellumix
