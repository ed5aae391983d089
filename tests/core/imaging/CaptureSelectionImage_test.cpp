#include "imaging/CaptureSelectionImage.h"

#include "stitching/DocumentError.h"

#include <QColor>

#include <gtest/gtest.h>

#include <limits>

using namespace vellumix;
using CaptureSelectionImage::CompositionPart;

namespace {

QImage solid(QColor color, int width = 4, int height = 4) {
    QImage image(width, height, QImage::Format_RGBA8888_Premultiplied);
    image.fill(color);
    return image;
}

// One pixel holding exactly these premultiplied bytes.
QImage storedPixel(uchar r, uchar g, uchar b, uchar a) {
    QImage image(1, 1, QImage::Format_RGBA8888_Premultiplied);
    uchar* bytes = image.scanLine(0);
    bytes[0] = r;
    bytes[1] = g;
    bytes[2] = b;
    bytes[3] = a;
    return image;
}

void expectRenderFailure(const QVector<CompositionPart>& parts, double scale) {
    try {
        CaptureSelectionImage::compose(parts, scale);
        ADD_FAILURE() << "compose succeeded";
    } catch (const DocumentError& error) {
        EXPECT_EQ(error.kind(), DocumentError::Kind::render);
    }
}

QRgb at(const QImage& image, int x, int y) {
    return image.pixel(x, y);
}

const QRgb red = qRgb(255, 0, 0);
const QRgb blue = qRgb(0, 0, 255);

} // namespace

TEST(CaptureSelectionImageHex, opaqueAndFullyTransparentPixels) {
    EXPECT_EQ(CaptureSelectionImage::hex(solid(Qt::red), 1, 1), "#FF0000");
    EXPECT_EQ(CaptureSelectionImage::hex(solid(QColor(18, 171, 254)), 0, 3), "#12ABFE");
    EXPECT_EQ(CaptureSelectionImage::hex(solid(Qt::transparent), 2, 2), "#000000");
    EXPECT_EQ(CaptureSelectionImage::hex(storedPixel(0, 0, 0, 0), 0, 0), "#000000");
}

TEST(CaptureSelectionImageHex, translucentPixelsAreUnpremultipliedWithHalvesRoundedUp) {
    // 50 / (102 / 255) = 125 exactly.
    EXPECT_EQ(CaptureSelectionImage::hex(storedPixel(50, 0, 0, 102), 0, 0), "#7D0000");
    // 1 * 255 / 2 = 127.5 and 1 * 255 / 10 = 25.5 both round up.
    EXPECT_EQ(CaptureSelectionImage::hex(storedPixel(1, 1, 0, 2), 0, 0), "#808000");
    EXPECT_EQ(CaptureSelectionImage::hex(storedPixel(0, 1, 3, 10), 0, 0), "#001A4D");
    // Just below a half: 1 * 255 / 3 = 85 exactly, 2 * 255 / 7 = 72.857.
    EXPECT_EQ(CaptureSelectionImage::hex(storedPixel(1, 2, 0, 3), 0, 0), "#55AA00");
    EXPECT_EQ(CaptureSelectionImage::hex(storedPixel(2, 0, 0, 7), 0, 0), "#490000");
}

TEST(CaptureSelectionImageHex, inconsistentPremultipliedBytesAreLimitedTo255) {
    EXPECT_EQ(CaptureSelectionImage::hex(storedPixel(200, 100, 0, 100), 0, 0), "#FFFF00");
}

TEST(CaptureSelectionImageHex, straightAlphaImagesReadTheirOwnColour) {
    QImage image(2, 2, QImage::Format_ARGB32);
    image.fill(QColor(255, 0, 0, 128));
    EXPECT_EQ(CaptureSelectionImage::hex(image, 1, 0), "#FF0000");
}

TEST(CaptureSelectionImageHex, coordinatesOutsideTheImageGiveNothing) {
    const QImage image = solid(Qt::red, 3, 2);
    EXPECT_FALSE(CaptureSelectionImage::hex(image, 3, 0));
    EXPECT_FALSE(CaptureSelectionImage::hex(image, 0, 2));
    EXPECT_FALSE(CaptureSelectionImage::hex(image, -1, 0));
    EXPECT_FALSE(CaptureSelectionImage::hex(image, 0, -1));
    EXPECT_TRUE(CaptureSelectionImage::hex(image, 2, 1));
    EXPECT_FALSE(CaptureSelectionImage::hex(QImage(), 0, 0));
}

TEST(CaptureSelectionImageCompose, windowsSideBySideAreScaledIntoOnePicture) {
    const QImage picture =
        CaptureSelectionImage::compose({{solid(Qt::red, 200, 100), QRectF(0, 0, 100, 50)},
                                        {solid(Qt::blue, 200, 100), QRectF(100, 0, 100, 50)}},
                                       2);
    ASSERT_EQ(picture.size(), QSize(400, 100));
    EXPECT_EQ(picture.format(), QImage::Format_RGBA8888_Premultiplied);
    EXPECT_EQ(at(picture, 0, 0), red);
    EXPECT_EQ(at(picture, 199, 99), red);
    EXPECT_EQ(at(picture, 200, 0), blue);
    EXPECT_EQ(at(picture, 399, 99), blue);
}

TEST(CaptureSelectionImageCompose, theWindowHigherOnScreenIsHigherInThePicture) {
    const QImage picture = CaptureSelectionImage::compose(
        {{solid(Qt::red), QRectF(0, 0, 100, 50)}, {solid(Qt::blue), QRectF(0, 50, 100, 50)}}, 1);
    ASSERT_EQ(picture.size(), QSize(100, 100));
    EXPECT_EQ(at(picture, 50, 10), red);
    EXPECT_EQ(at(picture, 50, 49), red);
    EXPECT_EQ(at(picture, 50, 50), blue);
    EXPECT_EQ(at(picture, 50, 90), blue);
}

TEST(CaptureSelectionImageCompose, partsAreOffsetFromTheUnionAndGapsStayTransparent) {
    const QImage picture = CaptureSelectionImage::compose(
        {{solid(Qt::red), QRectF(-50, 30, 10, 10)}, {solid(Qt::blue), QRectF(0, 60, 10, 10)}}, 1);
    ASSERT_EQ(picture.size(), QSize(60, 40));
    EXPECT_EQ(at(picture, 0, 0), red);
    EXPECT_EQ(at(picture, 9, 9), red);
    EXPECT_EQ(at(picture, 50, 30), blue);
    EXPECT_EQ(at(picture, 59, 39), blue);
    EXPECT_EQ(at(picture, 30, 5), 0u);
    EXPECT_EQ(at(picture, 5, 35), 0u);
    EXPECT_EQ(at(picture, 10, 0), 0u);
}

TEST(CaptureSelectionImageCompose, laterPartsPaintOverEarlierOnes) {
    const QImage picture = CaptureSelectionImage::compose(
        {{solid(Qt::red), QRectF(0, 0, 20, 20)}, {solid(Qt::blue), QRectF(10, 10, 20, 20)}}, 1);
    ASSERT_EQ(picture.size(), QSize(30, 30));
    EXPECT_EQ(at(picture, 5, 5), red);
    EXPECT_EQ(at(picture, 15, 15), blue);
    EXPECT_EQ(at(picture, 25, 5), 0u);
}

TEST(CaptureSelectionImageCompose, fractionalSizesRoundUpWithTheSpareRowAtTheTop) {
    EXPECT_EQ(CaptureSelectionImage::compose({{solid(Qt::red), QRectF(0, 0, 2.5, 2.5)}}, 2).size(),
              QSize(5, 5));
    const QImage picture =
        CaptureSelectionImage::compose({{solid(Qt::red), QRectF(0, 0, 2.2, 2.4)}}, 1);
    ASSERT_EQ(picture.size(), QSize(3, 3));
    EXPECT_EQ(at(picture, 0, 0), 0u);
    EXPECT_EQ(at(picture, 0, 1), red);
    EXPECT_EQ(at(picture, 1, 2), red);
}

TEST(CaptureSelectionImageCompose, sidesUpToTheLimitAreAcceptedAndPastItRefused) {
    EXPECT_EQ(
        CaptureSelectionImage::compose({{solid(Qt::red), QRectF(0, 0, 15000, 0.5)}}, 2).size(),
        QSize(30000, 1));
    expectRenderFailure({{solid(Qt::red), QRectF(0, 0, 15001, 1)}}, 2);
    expectRenderFailure({{solid(Qt::red), QRectF(0, 0, 1, 30001)}}, 1);
    expectRenderFailure({{solid(Qt::red), QRectF(0, 0, 30000, 3001)}}, 1);
    expectRenderFailure({{solid(Qt::red), QRectF(0, 0, 9487, 9487)}}, 1);
}

TEST(CaptureSelectionImageCompose, badInputIsARenderFailure) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    const CompositionPart part{solid(Qt::red), QRectF(0, 0, 10, 10)};
    expectRenderFailure({}, 1);
    for (double scale : {0.0, -1.0, nan, infinity}) {
        expectRenderFailure({part}, scale);
    }
    expectRenderFailure({{solid(Qt::red), QRectF(5, 5, 0, 0)}}, 1);
    expectRenderFailure({part, {QImage(), QRectF(0, 0, 10, 10)}}, 1);
    expectRenderFailure({part, {solid(Qt::red), QRectF(nan, 0, 10, 10)}}, 1);
    expectRenderFailure({part, {solid(Qt::red), QRectF(0, 0, infinity, 10)}}, 1);
}
