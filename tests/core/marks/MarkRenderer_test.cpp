#include "fakes/GuiTestApp.h"
#include "marks/ImageMark.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>

using namespace vellumix;

namespace {

const QColor white(255, 255, 255);
const QColor red(255, 0, 0);

ImageMark mark(DrawingTool tool, QVector<QPointF> points, double thickness = 2, QColor color = red,
               QString text = QString()) {
    return ImageMark(tool, std::move(points), color, thickness, std::move(text));
}

QImage drawn(const ImageMark& mark, QColor background = white, QSize size = {300, 200}) {
    QImage image(size, QImage::Format_RGBA8888_Premultiplied);
    image.fill(background);
    QPainter painter(&image);
    mark.draw(painter);
    painter.end();
    return image;
}

// Pixels that differ from the background, outside the given rectangle.
int changedOutside(const QImage& image, const QRectF& rect = {}, QColor background = white) {
    const QRect allowed = rect.toAlignedRect();
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!allowed.contains(x, y) && image.pixelColor(x, y) != background) {
                ++count;
            }
        }
    }
    return count;
}

// Each probed pixel shows its colour.
void expectPixels(const QImage& image, std::initializer_list<std::pair<QPoint, QColor>> probes) {
    for (const auto& [point, colour] : probes) {
        EXPECT_EQ(image.pixelColor(point), colour) << point.x() << "," << point.y();
    }
}

void expectNear(QColor actual, QColor expected, int slack = 1) {
    EXPECT_NEAR(actual.red(), expected.red(), slack);
    EXPECT_NEAR(actual.green(), expected.green(), slack);
    EXPECT_NEAR(actual.blue(), expected.blue(), slack);
    EXPECT_NEAR(actual.alpha(), expected.alpha(), slack);
}

} // namespace

TEST(MarkRenderer, rectangleStrokesItsOutlineFromFirstToLastPoint) {
    const QImage image = drawn(mark(DrawingTool::rectangle, {{20, 20}, {500, 500}, {120, 100}}, 4));
    expectPixels(image, {{{20, 60}, red}, {{70, 99}, red}, {{70, 60}, white}, {{150, 150}, white}});
    EXPECT_EQ(changedOutside(image, QRectF(17, 17, 106, 86)), 0);
}

// A flat highlight covers no area.
TEST(MarkRenderer, hugeCornerRadiusOnATinyRectangleStillDraws) {
    for (const auto& [tool, corner, draws] :
         {std::tuple(DrawingTool::rectangle, QPointF(14, 13), true),
          std::tuple(DrawingTool::highlight, QPointF(14, 13), true),
          std::tuple(DrawingTool::highlight, QPointF(40, 10), false)}) {
        ImageMark rounded = mark(tool, {{10, 10}, corner}, 1);
        rounded.cornerRadius = 200;
        EXPECT_EQ(changedOutside(drawn(rounded)) > 0, draws) << int(tool);
    }
}

// Highlight blends its colour at opacity 0.24, pixelate without its bitmap
// shows translucent grey, cover is opaque in its exact colour; each fills the
// rectangle of its points, whichever comes first, and nothing else.
TEST(MarkRenderer, areaMarksFillTheirRectangleOnly) {
    const QColor colour(12, 34, 56);
    const QVector<QPointF> corners{{60, 40}, {10, 10}};
    // The mark, the background, the colour inside, the slack per channel.
    const std::tuple<ImageMark, QColor, QColor, int> cases[] = {
        {mark(DrawingTool::highlight, corners), white, QColor(255, 194, 194), 1},
        {mark(DrawingTool::highlight, corners), Qt::transparent, QColor(255, 0, 0, 61), 1},
        {mark(DrawingTool::pixelate, corners, 8), white, QColor(217, 217, 217), 1},
        {mark(DrawingTool::pixelate, corners, 8), Qt::transparent, QColor(128, 128, 128, 77), 2},
        {mark(DrawingTool::cover, corners, 2, colour), white, colour, 0},
    };
    for (const auto& [areaMark, background, inside, slack] : cases) {
        SCOPED_TRACE(drawing_tool::rawValue(areaMark.tool).toStdString());
        const QImage image = drawn(areaMark, background);
        for (const QPoint point : {QPoint(10, 10), QPoint(30, 20), QPoint(59, 39)}) {
            expectNear(image.pixelColor(point), inside, slack);
        }
        EXPECT_EQ(changedOutside(image, QRectF(10, 10, 50, 30), background), 0);
    }
}

TEST(MarkRenderer, pixelateStretchesItsBitmapInHardEdgedBlocks) {
    QImage bitmap(2, 2, QImage::Format_RGBA8888_Premultiplied);
    bitmap.setPixelColor(0, 0, Qt::red);
    bitmap.setPixelColor(1, 0, Qt::green);
    bitmap.setPixelColor(0, 1, Qt::blue);
    bitmap.setPixelColor(1, 1, Qt::black);
    ImageMark pixelate = mark(DrawingTool::pixelate, {{50, 60}, {10, 20}}, 8);
    pixelate.bitmap = bitmap;
    const QImage image = drawn(pixelate);
    expectPixels(image, {{{10, 20}, Qt::red},
                         {{29, 39}, Qt::red},
                         {{30, 39}, Qt::green},
                         {{29, 40}, Qt::blue},
                         {{49, 59}, Qt::black}});
    EXPECT_EQ(changedOutside(image, QRectF(10, 20, 40, 40)), 0);
}

TEST(MarkRenderer, stepBadgeHasAWhiteOutlineAndACentredWhiteNumber) {
    const QColor blue(0, 0, 255);
    const QImage plain = drawn(mark(DrawingTool::step, {{50, 50}}, 3, blue));
    expectPixels(plain, {{{50, 36}, white}, {{50, 42}, blue}, {{50, 50}, blue}});
    EXPECT_EQ(changedOutside(plain, QRectF(35, 35, 30, 30)), 0);

    const QImage numbered =
        drawn(mark(DrawingTool::step, {{50, 50}}, 3, blue, QStringLiteral("8")));
    QRect whiteInside;
    for (int y = 40; y < 60; ++y) {
        for (int x = 40; x < 60; ++x) {
            const QColor c = numbered.pixelColor(x, y);
            if (c.red() > 200 && c.green() > 200) {
                whiteInside |= QRect(x, y, 1, 1);
            }
        }
    }
    ASSERT_FALSE(whiteInside.isEmpty());
    EXPECT_NEAR(whiteInside.center().x() + 0.5, 50, 1.5);
    EXPECT_NEAR(whiteInside.center().y() + 0.5, 50, 1.5);
}

TEST(MarkRenderer, arrowHeadIsAnOpenVAtTheSecondPointOfAStraightShaft) {
    const QImage image = drawn(mark(DrawingTool::arrow, {{20, 50}, {120, 50}, {120, 150}}, 1));
    // The arms end 11 pixels back from the tip at 0.45 radians off the shaft.
    const double armX = 120 - 11 * std::cos(0.45);
    const double armY = 11 * std::sin(0.45);
    EXPECT_NE(image.pixelColor(int(armX), int(50 + armY)), white);
    EXPECT_NE(image.pixelColor(int(armX), int(50 - armY)), white);
    expectPixels(image,
                 {{{111, 47}, white}, {{111, 52}, white}, {{123, 50}, white}, {{120, 100}, white}});
    // A curved arrow without its control point is straight.
    const QImage curved = drawn(mark(DrawingTool::curvedArrow, {{20, 50}, {120, 50}}, 2));
    EXPECT_EQ(curved.pixelColor(70, 49), red);
    EXPECT_EQ(changedOutside(curved, QRectF(18, 43, 104, 14)), 0);
}

TEST(MarkRenderer, zeroLengthStrokeLeavesARoundDot) {
    for (DrawingTool tool : {DrawingTool::line, DrawingTool::pen}) {
        const QImage image = drawn(mark(tool, {{50, 50}, {50, 50}}, 10));
        expectPixels(image, {{{50, 50}, red}, {{46, 50}, red}, {{54, 54}, white}});
        EXPECT_EQ(changedOutside(image, QRectF(45, 45, 10, 10)), 0);
    }
    EXPECT_EQ(changedOutside(drawn(mark(DrawingTool::pen, {{50, 50}}, 10))), 0);
}

TEST(MarkRenderer, calloutPointerReachesATargetOutsideTheBubbleOnly) {
    const ImageMark inside = mark(DrawingTool::callout, {{20, 20}, {60, 40}}, 4);
    EXPECT_EQ(changedOutside(drawn(inside), inside.bubbleRect()), 0);
    const ImageMark callout = mark(DrawingTool::callout, {{20, 10}, {140, 190}}, 4);
    const QRectF bubble = callout.bubbleRect();
    const QImage image = drawn(callout);
    for (int y = int(bubble.bottom()) + 1; y < 188; ++y) {
        EXPECT_EQ(image.pixelColor(140, y), red) << y;
    }
    EXPECT_EQ(image.pixelColor(140, int(bubble.bottom()) - 2), red);
    EXPECT_EQ(changedOutside(image, callout.bounds()), 0);
}

TEST(MarkRenderer, textStaysInsideItsBounds) {
    const QColor blue(0, 0, 255);
    const ImageMark text =
        mark(DrawingTool::text, {{10, 10}, {200, 200}}, 2, blue, QStringLiteral("Hello\nWorld"));
    const QImage image = drawn(text);
    EXPECT_GT(changedOutside(image), 50);
    EXPECT_EQ(changedOutside(image, text.bounds().adjusted(-1, -1, 1, 1)), 0);

    // A capital's top is within a pixel or two of the mark's point.
    ImageMark capital = mark(DrawingTool::text, {{10, 10}}, 2, blue, QStringLiteral("H"));
    capital.fontSize = 100;
    const QImage large = drawn(capital);
    EXPECT_EQ(changedOutside(large, QRectF(0, 10, 300, 190)), 0);
    EXPECT_GT(changedOutside(large, QRectF(0, 13, 300, 187)), 0);
}

TEST(MarkRenderer, selectCropAndPointlessMarksDrawNothing) {
    EXPECT_EQ(changedOutside(drawn(mark(DrawingTool::select, {{10, 10}, {50, 50}}))), 0);
    EXPECT_EQ(changedOutside(drawn(mark(DrawingTool::crop, {{10, 10}, {50, 50}}))), 0);
    EXPECT_EQ(changedOutside(drawn(mark(DrawingTool::cover, {}))), 0);
    EXPECT_EQ(changedOutside(drawn(mark(DrawingTool::arrow, {{10, 10}}))), 0);
}

TEST(MarkRenderer, drawingLeavesThePainterStateAsItFoundIt) {
    QImage image(50, 50, QImage::Format_RGBA8888_Premultiplied);
    QPainter painter(&image);
    const QPen pen(Qt::green, 3);
    painter.setPen(pen);
    for (DrawingTool tool : drawing_tool::allCases) {
        mark(tool, {{5, 5}, {40, 30}}, 6, red, QStringLiteral("7")).draw(painter);
        EXPECT_EQ(painter.pen(), pen);
        EXPECT_EQ(painter.brush(), QBrush());
        EXPECT_EQ(painter.opacity(), 1);
        EXPECT_TRUE(painter.transform().isIdentity());
        EXPECT_FALSE(painter.testRenderHint(QPainter::Antialiasing));
    }
}
