#include "layout/FloatingLayout.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>

using namespace vellumix::FloatingLayout;

void PrintTo(const QRectF& r, std::ostream* out) {
    *out << "(" << r.x() << ", " << r.y() << ", " << r.width() << ", " << r.height() << ")";
}

namespace {

const QRectF screen(0, 0, 1920, 1080);

} // namespace

TEST(FloatingLayoutPin, imagesShrinkUniformlyToFitButAreNeverEnlargedWhateverTheScale) {
    EXPECT_EQ(pinImageSize({4000, 2000}, 2, {1400, 800}), QSizeF(1400, 700));
    EXPECT_EQ(pinImageSize({4000, 2000}, 2, {3000, 600}), QSizeF(1200, 600));
    EXPECT_EQ(pinImageSize({4000, 2000}, 2, {3000, 3000}), QSizeF(2000, 1000));
    EXPECT_EQ(pinImageSize({100, 50}, 1, {0, 0}), QSizeF(1, 0.5));
    // Unusable scales count as one pixel per point.
    for (double bad :
         {0.0, -3.0, std::numeric_limits<double>::denorm_min(),
          std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_EQ(pinImageSize({400, 200}, bad, {1000, 1000}), QSizeF(400, 200)) << bad;
    }
    EXPECT_EQ(pinImageSize({400, 200}, 0.5, {1000, 1000}), QSizeF(800, 400));
}

TEST(FloatingLayoutPreview,
     thePanelGoesRightThenLeftThenAgainstTheRoomierEdgeWithinTheVisibleArea) {
    EXPECT_EQ(previewFrame({100, 200, 400, 300}, screen), QRectF(512, 200, 320, 620));
    // 250 points to spare on the right: the panel narrows to fit there.
    EXPECT_EQ(previewFrame({100, 200, 1558, 300}, screen), QRectF(1670, 200, 250, 620));
    EXPECT_EQ(previewFrame({1500, 100, 420, 300}, screen), QRectF(1168, 100, 320, 620));
    // Neither side has 220 points: the panel covers part of the selection.
    EXPECT_EQ(previewFrame({150, 100, 1650, 300}, screen), QRectF(0, 100, 220, 620));
    EXPECT_EQ(previewFrame({120, 100, 1650, 300}, screen), QRectF(1700, 100, 220, 620));
    // Whatever the side, the panel stays within the visible area.
    EXPECT_EQ(previewFrame({100, 900, 400, 100}, screen).y(), 460);
    EXPECT_EQ(previewFrame({100, -50, 400, 100}, screen).y(), 0);
    const QRectF second(1920, 24, 1280, 776);
    EXPECT_EQ(previewFrame({2000, 100, 300, 200}, second), QRectF(2312, 100, 320, 620));
    EXPECT_EQ(previewFrame({2000, 0, 300, 200}, second).y(), 24);
    EXPECT_EQ(previewFrame({2000, 500, 300, 200}, second).y(), 180);
    EXPECT_EQ(previewFrame({10, 10, 50, 50}, {0, 0, 200, 400}), QRectF(0, 0, 200, 400));
}

TEST(FloatingLayoutViewport, aCropIsScaledToPointsAndKeptInsideTheRegion) {
    const QRectF region(100, 50, 400, 300);
    EXPECT_EQ(croppedViewport(region, {-500, -500, 3000, 3000}, 2), region);
    EXPECT_EQ(croppedViewport(region, {40, 20, 200, 100}, 2), QRectF(120, 60, 100, 50));
    EXPECT_EQ(croppedViewport(region, {-40, 20, 200, 100}, 2), QRectF(100, 60, 100, 50));
    EXPECT_EQ(croppedViewport(region, {700, 580, 200, 100}, 2), QRectF(400, 300, 100, 50));
    EXPECT_EQ(croppedViewport(region, {40, 20, 200, 100}, 0), QRectF(140, 70, 200, 100));
    EXPECT_EQ(croppedViewport(region, {240, 120, -200, -100}, 2), QRectF(120, 60, 100, 50));
}
