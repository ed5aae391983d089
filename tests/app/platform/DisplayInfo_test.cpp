#include "platform/DisplayId.h"
#include "platform/DisplayInfo.h"

#include "fakes/FakePlatform.h"

#include <gtest/gtest.h>

namespace vellumix {
namespace {

TEST(DisplayIdTest, idIsTheFnv1aHashOfTheName) {
    EXPECT_EQ(displayIdForName(QStringLiteral("HDMI-1")), 494947269u);
    EXPECT_NE(displayIdForName(QStringLiteral("LEFT")), displayIdForName(QStringLiteral("RIGHT")));
}

TEST(DisplayInfoTest, pixelRectsMapToPointsThroughTheDisplayHoldingMostOfThem) {
    const QRectF primary(0, 0, 1920, 1080);
    DisplayInfo left = fakeDisplay("LEFT", primary, 1.0, primary);
    DisplayInfo right = fakeDisplay("RIGHT", QRectF(1920, 0, 960, 540), 2.0, primary);
    const QList<DisplayInfo> displays = {left, right};
    EXPECT_EQ(right.pixelRect(), QRect(1920, 0, 1920, 1080));
    EXPECT_EQ(pixelRectToPoints(displays, QRect(2120, 200, 300, 300)), QRectF(2020, 100, 150, 150));
    EXPECT_EQ(pixelRectToPoints(displays, QRect(100, 50, 30, 40)), QRectF(100, 50, 30, 40));
    // Mostly on RIGHT, so RIGHT's scale applies to the whole rectangle.
    EXPECT_EQ(pixelRectToPoints(displays, QRect(1900, 0, 220, 100)), QRectF(1910, 0, 110, 50));
    EXPECT_EQ(pixelRectToPoints(displays, QRect(5000, 0, 10, 10)), QRectF(5000, 0, 10, 10));
}

} // namespace
} // namespace vellumix
