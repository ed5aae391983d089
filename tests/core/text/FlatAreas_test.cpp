#include "text/FlatAreas.h"

#include <gtest/gtest.h>

using namespace vellumix;

TEST(FlatAreas, areasFollowTheColourAndKnowTheSquareTheyHold) {
    QImage image(60, 30, QImage::Format_RGB32);
    image.fill(qRgb(250, 250, 250));
    // A 9 x 5 fill, a colour step within the tolerance and a hairline.
    for (int y = 10; y < 15; ++y) {
        for (int x = 5; x < 14; ++x) {
            image.setPixel(x, y, qRgb(10, 130, 255));
        }
    }
    for (int y = 0; y < 30; ++y) {
        image.setPixel(40, y, qRgb(240, 240, 240));
        image.setPixel(50, y, qRgb(100, 100, 100));
    }
    const FlatAreas areas(image);
    ASSERT_TRUE(areas.isFlat());
    ASSERT_EQ(areas.areas().size(), 4u);
    const FlatArea& fill = areas.areas()[size_t(areas.areaAt(12 * 60 + 9))];
    EXPECT_EQ(fill.pixels, 45);
    EXPECT_EQ(fill.bounds, QRect(5, 10, 9, 5));
    EXPECT_EQ(fill.thickness, 2);
    EXPECT_EQ(fill.color, qRgb(10, 130, 255));
    EXPECT_EQ(areas.areaAt(0), areas.areaAt(40));
    EXPECT_EQ(areas.areas()[size_t(areas.areaAt(50))].thickness, 0);
    // The page, cropped by the image's edge, still counts as thick.
    EXPECT_GE(areas.areas()[size_t(areas.areaAt(0))].thickness, 4);
}
