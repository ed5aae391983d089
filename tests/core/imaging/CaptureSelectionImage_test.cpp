#include "imaging/CaptureSelectionImage.h"

#include "ExpectError.h"

#include <QColorSpace>

#include <gtest/gtest.h>

#include <array>
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

void expectRenderFailure(const QVector<CaptureSelectionImage::CompositionPart>& parts,
                         double scale) {
    test::expectError(DocumentError::Kind::render, [&] { compose(parts, scale); });
}

const QRgb red = qRgb(255, 0, 0);
const QRgb blue = qRgb(0, 0, 255);

} // namespace

TEST(CaptureSelectionImageHex, storedPremultipliedBytesGiveTheStraightColourCode) {
    const std::pair<std::array<uchar, 4>, const char*> cases[] = {
        {{255, 0, 0, 255}, "#FF0000"},   {{0, 0, 0, 0}, "#000000"},
        {{50, 0, 0, 102}, "#7D0000"},    // 50 / (102 / 255) = 125 exactly
        {{1, 1, 0, 2}, "#808000"},       // 127.5 rounds up
        {{0, 1, 3, 10}, "#001A4D"},      // 25.5 and 76.5 round up
        {{2, 0, 0, 7}, "#490000"},       // 72.86 rounds to nearest
        {{200, 100, 0, 100}, "#FFFF00"}, // inconsistent bytes are limited to 255
    };
    for (const auto& [rgba, code] : cases) {
        QImage pixel(1, 1, QImage::Format_RGBA8888_Premultiplied);
        std::memcpy(pixel.scanLine(0), rgba.data(), rgba.size());
        EXPECT_EQ(hex(pixel, 0, 0), code);
    }
    // Other formats by their colour; coordinates outside the image give nothing.
    QImage straight(3, 2, QImage::Format_ARGB32);
    straight.fill(QColor(18, 171, 254, 255));
    EXPECT_EQ(hex(straight, 2, 1), "#12ABFE");
    for (QPoint outside : {QPoint(3, 0), QPoint(0, 2), QPoint(-1, 0), QPoint(0, -1)}) {
        EXPECT_FALSE(hex(straight, outside.x(), outside.y()));
    }
    EXPECT_FALSE(hex(QImage(), 0, 0));
}

TEST(CaptureSelectionImageCompose, partsAreScaledAndPlacedInTheirOrderOnScreen) {
    // Parts, scale, picture size and probed pixels.
    const std::tuple<QVector<CaptureSelectionImage::CompositionPart>, double, QSize,
                     QVector<std::pair<QPoint, QRgb>>>
        cases[] = {
            // Side by side, scaled into one picture.
            {{{solid(Qt::red, 200, 100), QRectF(0, 0, 100, 50)},
              {solid(Qt::blue, 200, 100), QRectF(100, 0, 100, 50)}},
             2,
             {400, 100},
             {{{0, 0}, red}, {{199, 99}, red}, {{200, 0}, blue}, {{399, 99}, blue}}},
            // The window higher on screen is higher in the picture.
            {{{solid(Qt::red), QRectF(0, 0, 100, 50)}, {solid(Qt::blue), QRectF(0, 50, 100, 50)}},
             1,
             {100, 100},
             {{{50, 49}, red}, {{50, 50}, blue}}},
            // Offset from the union; gaps stay transparent.
            {{{solid(Qt::red), QRectF(-50, 30, 10, 10)}, {solid(Qt::blue), QRectF(0, 60, 10, 10)}},
             1,
             {60, 40},
             {{{0, 0}, red},
              {{9, 9}, red},
              {{50, 30}, blue},
              {{59, 39}, blue},
              {{30, 5}, 0},
              {{10, 0}, 0}}},
            // Later parts paint over earlier ones.
            {{{solid(Qt::red), QRectF(0, 0, 20, 20)}, {solid(Qt::blue), QRectF(10, 10, 20, 20)}},
             1,
             {30, 30},
             {{{5, 5}, red}, {{15, 15}, blue}, {{25, 5}, 0}}},
            // Fractional sizes round up, with the spare row at the top.
            {{{solid(Qt::red), QRectF(0, 0, 2.2, 2.4)}}, 1, {3, 3}, {{{0, 0}, 0}, {{1, 2}, red}}},
        };
    for (const auto& [parts, scale, size, probes] : cases) {
        const QImage picture = compose(parts, scale);
        ASSERT_EQ(picture.size(), size);
        EXPECT_EQ(picture.format(), QImage::Format_RGBA8888_Premultiplied);
        for (const auto& [point, colour] : probes) {
            EXPECT_EQ(picture.pixel(point), colour) << point.x() << "," << point.y();
        }
    }
}

// A window in another colour space is matched to sRGB for the picture and the
// colour code alike.
TEST(CaptureSelectionImage, otherColourSpacesAreMatchedToSRGB) {
    QImage wide = solid(QColor(40, 160, 90));
    wide.setColorSpace(QColorSpace::AdobeRgb);
    const QColor expected = wide.convertedToColorSpace(QColorSpace::SRgb).pixelColor(0, 0);
    ASSERT_NE(expected, QColor(40, 160, 90));
    EXPECT_EQ(compose({{wide, QRectF(0, 0, 4, 4)}}, 1).pixelColor(1, 1), expected);
    EXPECT_EQ(hex(wide, 1, 1), expected.name(QColor::HexRgb).toUpper());
}

TEST(CaptureSelectionImageCompose, sizesUpToTheLimitsComposeAndLargerOrBadInputFailsToRender) {
    EXPECT_EQ(compose({{solid(Qt::red), QRectF(0, 0, 15000, 0.5)}}, 2).size(), QSize(30000, 1));
    expectRenderFailure({{solid(Qt::red), QRectF(0, 0, 15001, 1)}}, 2);
    expectRenderFailure({{solid(Qt::red), QRectF(0, 0, 1, 30001)}}, 1);
    expectRenderFailure({{solid(Qt::red), QRectF(0, 0, 30000, 3001)}}, 1);
    // So is bad input.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    const CaptureSelectionImage::CompositionPart part{solid(Qt::red), QRectF(0, 0, 10, 10)};
    expectRenderFailure({}, 1);
    for (double scale : {0.0, -1.0, nan, infinity}) {
        expectRenderFailure({part}, scale);
    }
    expectRenderFailure({{solid(Qt::red), QRectF(5, 5, 0, 0)}}, 1);
    expectRenderFailure({part, {QImage(), QRectF(0, 0, 10, 10)}}, 1);
    expectRenderFailure({part, {solid(Qt::red), QRectF(nan, 0, 10, 10)}}, 1);
}
