#include "layout/FloatingLayout.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>

using namespace vellumix;

void PrintTo(const QRectF& r, std::ostream* out) {
    *out << "(" << r.x() << ", " << r.y() << ", " << r.width() << ", " << r.height() << ")";
}

void PrintTo(const QSizeF& s, std::ostream* out) {
    *out << s.width() << " x " << s.height();
}

namespace {

const QRectF screen(0, 0, 1920, 1080);

} // namespace

TEST(FloatingLayoutScale, onlyPositiveNormalNumbersAreKept) {
    EXPECT_EQ(FloatingLayout::normalizedScale(2), 2);
    EXPECT_EQ(FloatingLayout::normalizedScale(0.5), 0.5);
    for (double bad :
         {0.0, -2.0, std::numeric_limits<double>::denorm_min(),
          std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_EQ(FloatingLayout::normalizedScale(bad), 1) << bad;
    }
}

TEST(FloatingLayoutPin, largeImagesShrinkUniformlyToTheAvailableSize) {
    EXPECT_EQ(FloatingLayout::pinImageSize({4000, 2000}, 2, {1400, 800}), QSizeF(1400, 700));
    EXPECT_EQ(FloatingLayout::pinImageSize({4000, 2000}, 2, {3000, 600}), QSizeF(1200, 600));
}

TEST(FloatingLayoutPin, smallImagesKeepTheirNaturalSizeInPoints) {
    EXPECT_EQ(FloatingLayout::pinImageSize({4000, 2000}, 2, {3000, 3000}), QSizeF(2000, 1000));
    EXPECT_EQ(FloatingLayout::pinImageSize({400, 200}, 0, {1000, 1000}), QSizeF(400, 200));
    EXPECT_EQ(FloatingLayout::pinImageSize({400, 200}, -3, {1000, 1000}), QSizeF(400, 200));
}

TEST(FloatingLayoutPin, anEmptyAvailableAreaCountsAsOnePoint) {
    EXPECT_EQ(FloatingLayout::pinImageSize({100, 50}, 1, {0, 0}), QSizeF(1, 0.5));
}

TEST(FloatingLayoutPreview, roomOnTheRightPutsTheWidestPanelThere) {
    EXPECT_EQ(FloatingLayout::previewFrame({100, 200, 400, 300}, screen),
              QRectF(512, 200, 320, 620));
    // 250 points to spare on the right: the panel narrows to fit.
    EXPECT_EQ(FloatingLayout::previewFrame({100, 200, 1558, 300}, screen),
              QRectF(1670, 200, 250, 620));
}

TEST(FloatingLayoutPreview, aSelectionAtTheRightEdgeGetsThePanelOnItsLeft) {
    EXPECT_EQ(FloatingLayout::previewFrame({1500, 100, 420, 300}, screen),
              QRectF(1168, 100, 320, 620));
}

TEST(FloatingLayoutPreview, withoutRoomOnEitherSideThePanelLiesAgainstTheRoomierEdge) {
    EXPECT_EQ(FloatingLayout::previewFrame({150, 100, 1650, 300}, screen),
              QRectF(0, 100, 220, 620));
    EXPECT_EQ(FloatingLayout::previewFrame({120, 100, 1650, 300}, screen),
              QRectF(1700, 100, 220, 620));
}

TEST(FloatingLayoutPreview, thePanelStaysInsideTheVisibleAreaVertically) {
    EXPECT_EQ(FloatingLayout::previewFrame({100, 900, 400, 100}, screen).y(), 460);
    EXPECT_EQ(FloatingLayout::previewFrame({100, -50, 400, 100}, screen).y(), 0);
    const QRectF second(1920, 24, 1280, 776);
    EXPECT_EQ(FloatingLayout::previewFrame({2000, 100, 300, 200}, second),
              QRectF(2312, 100, 320, 620));
    EXPECT_EQ(FloatingLayout::previewFrame({2000, 0, 300, 200}, second).y(), 24);
    EXPECT_EQ(FloatingLayout::previewFrame({2000, 500, 300, 200}, second).y(), 180);
}

TEST(FloatingLayoutPreview, thePanelIsNeverWiderThanTheScreenNorTallerThan620) {
    const QRectF frame = FloatingLayout::previewFrame({10, 10, 50, 50}, {0, 0, 200, 400});
    EXPECT_EQ(frame, QRectF(0, 0, 200, 400));
    EXPECT_EQ(FloatingLayout::previewFrame({100, 100, 100, 100}, {0, 0, 1000, 2000}).height(), 620);
}

TEST(FloatingLayoutViewport, aCropLargerThanTheRegionShowsTheWholeRegion) {
    const QRectF region(100, 50, 400, 300);
    EXPECT_EQ(FloatingLayout::croppedViewport(region, {0, 0, 2000, 2000}, 2), region);
    EXPECT_EQ(FloatingLayout::croppedViewport(region, {-500, -500, 3000, 3000}, 2), region);
}

TEST(FloatingLayoutViewport, aCropIsScaledToPointsAndKeptInsideTheRegion) {
    const QRectF region(100, 50, 400, 300);
    EXPECT_EQ(FloatingLayout::croppedViewport(region, {40, 20, 200, 100}, 2),
              QRectF(120, 60, 100, 50));
    EXPECT_EQ(FloatingLayout::croppedViewport(region, {-40, 20, 200, 100}, 2),
              QRectF(100, 60, 100, 50));
    EXPECT_EQ(FloatingLayout::croppedViewport(region, {700, 580, 200, 100}, 2),
              QRectF(400, 300, 100, 50));
    EXPECT_EQ(FloatingLayout::croppedViewport(region, {40, 20, 200, 100}, 0),
              QRectF(140, 70, 200, 100));
    EXPECT_EQ(FloatingLayout::croppedViewport(region, {240, 120, -200, -100}, 2),
              QRectF(120, 60, 100, 50));
}
