#include "imaging/CaptureSelectionImage.h"

#include "imaging/DocumentError.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

using namespace vellumix;
using CaptureSelectionImage::compose;
using CaptureSelectionImage::hex;

namespace {

QImage solid(QColor color, int width = 4, int height = 4) {
    QImage image(width, height, QImage::Format_RGBA8888_Premultiplied);
    image.fill(color);
    return image;
}

bool failsToRender(const QVector<CaptureSelectionImage::CompositionPart>& parts, double scale) {
    try {
        compose(parts, scale);
    } catch (const DocumentError& error) {
        return error.kind() == DocumentError::Kind::render;
    }
    return false;
}

const QRgb red = qRgb(255, 0, 0);
const QRgb blue = qRgb(0, 0, 255);

} // namespace

TEST(CaptureSelectionImageHex, storedPremultipliedBytesGiveTheStraightColourCode) {
    struct Case {
        uchar rgba[4];
        const char* code;
    };
    const Case cases[] = {
        {{255, 0, 0, 255}, "#FF0000"},   {{0, 0, 0, 0}, "#000000"},
        {{50, 0, 0, 102}, "#7D0000"},    // 50 / (102 / 255) = 125 exactly
        {{1, 1, 0, 2}, "#808000"},       // 127.5 rounds up
        {{0, 1, 3, 10}, "#001A4D"},      // 25.5 and 76.5 round up
        {{2, 0, 0, 7}, "#490000"},       // 72.86 rounds to nearest
        {{200, 100, 0, 100}, "#FFFF00"}, // inconsistent bytes are limited to 255
    };
    for (const Case& c : cases) {
        QImage pixel(1, 1, QImage::Format_RGBA8888_Premultiplied);
        std::memcpy(pixel.scanLine(0), c.rgba, sizeof c.rgba);
        EXPECT_EQ(hex(pixel, 0, 0), c.code);
    }
    QImage straight(2, 2, QImage::Format_ARGB32);
    straight.fill(QColor(18, 171, 254, 255));
    EXPECT_EQ(hex(straight, 1, 1), "#12ABFE");
}

TEST(CaptureSelectionImageHex, coordinatesOutsideTheImageGiveNothing) {
    const QImage image = solid(Qt::red, 3, 2);
    EXPECT_TRUE(hex(image, 2, 1));
    for (QPoint outside : {QPoint(3, 0), QPoint(0, 2), QPoint(-1, 0), QPoint(0, -1)}) {
        EXPECT_FALSE(hex(image, outside.x(), outside.y()));
    }
    EXPECT_FALSE(hex(QImage(), 0, 0));
}

TEST(CaptureSelectionImageCompose, windowsSideBySideAreScaledIntoOnePicture) {
    const QImage picture = compose({{solid(Qt::red, 200, 100), QRectF(0, 0, 100, 50)},
                                    {solid(Qt::blue, 200, 100), QRectF(100, 0, 100, 50)}},
                                   2);
    ASSERT_EQ(picture.size(), QSize(400, 100));
    EXPECT_EQ(picture.format(), QImage::Format_RGBA8888_Premultiplied);
    EXPECT_EQ(picture.pixel(0, 0), red);
    EXPECT_EQ(picture.pixel(199, 99), red);
    EXPECT_EQ(picture.pixel(200, 0), blue);
    EXPECT_EQ(picture.pixel(399, 99), blue);
}

TEST(CaptureSelectionImageCompose, theWindowHigherOnScreenIsHigherInThePicture) {
    const QImage picture = compose(
        {{solid(Qt::red), QRectF(0, 0, 100, 50)}, {solid(Qt::blue), QRectF(0, 50, 100, 50)}}, 1);
    ASSERT_EQ(picture.size(), QSize(100, 100));
    EXPECT_EQ(picture.pixel(50, 49), red);
    EXPECT_EQ(picture.pixel(50, 50), blue);
}

TEST(CaptureSelectionImageCompose, partsAreOffsetFromTheUnionAndGapsStayTransparent) {
    const QImage picture = compose(
        {{solid(Qt::red), QRectF(-50, 30, 10, 10)}, {solid(Qt::blue), QRectF(0, 60, 10, 10)}}, 1);
    ASSERT_EQ(picture.size(), QSize(60, 40));
    EXPECT_EQ(picture.pixel(0, 0), red);
    EXPECT_EQ(picture.pixel(9, 9), red);
    EXPECT_EQ(picture.pixel(50, 30), blue);
    EXPECT_EQ(picture.pixel(59, 39), blue);
    EXPECT_EQ(picture.pixel(30, 5), 0u);
    EXPECT_EQ(picture.pixel(10, 0), 0u);
}

TEST(CaptureSelectionImageCompose, laterPartsPaintOverEarlierOnes) {
    const QImage picture = compose(
        {{solid(Qt::red), QRectF(0, 0, 20, 20)}, {solid(Qt::blue), QRectF(10, 10, 20, 20)}}, 1);
    EXPECT_EQ(picture.pixel(5, 5), red);
    EXPECT_EQ(picture.pixel(15, 15), blue);
    EXPECT_EQ(picture.pixel(25, 5), 0u);
}

TEST(CaptureSelectionImageCompose, fractionalSizesRoundUpWithTheSpareRowAtTheTop) {
    const QImage picture = compose({{solid(Qt::red), QRectF(0, 0, 2.2, 2.4)}}, 1);
    ASSERT_EQ(picture.size(), QSize(3, 3));
    EXPECT_EQ(picture.pixel(0, 0), 0u);
    EXPECT_EQ(picture.pixel(1, 2), red);
}

TEST(CaptureSelectionImageCompose, sizesUpToTheLimitsAreAcceptedAndPastThemRefused) {
    EXPECT_EQ(compose({{solid(Qt::red), QRectF(0, 0, 15000, 0.5)}}, 2).size(), QSize(30000, 1));
    EXPECT_TRUE(failsToRender({{solid(Qt::red), QRectF(0, 0, 15001, 1)}}, 2));
    EXPECT_TRUE(failsToRender({{solid(Qt::red), QRectF(0, 0, 1, 30001)}}, 1));
    EXPECT_TRUE(failsToRender({{solid(Qt::red), QRectF(0, 0, 30000, 3001)}}, 1));
}

TEST(CaptureSelectionImageCompose, badInputIsARenderFailure) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    const CaptureSelectionImage::CompositionPart part{solid(Qt::red), QRectF(0, 0, 10, 10)};
    EXPECT_TRUE(failsToRender({}, 1));
    for (double scale : {0.0, -1.0, nan, infinity}) {
        EXPECT_TRUE(failsToRender({part}, scale));
    }
    EXPECT_TRUE(failsToRender({{solid(Qt::red), QRectF(5, 5, 0, 0)}}, 1));
    EXPECT_TRUE(failsToRender({part, {QImage(), QRectF(0, 0, 10, 10)}}, 1));
    EXPECT_TRUE(failsToRender({part, {solid(Qt::red), QRectF(nan, 0, 10, 10)}}, 1));
}
