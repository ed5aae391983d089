#include "selection/RegionOutcome.h"
#include "support/PatternImage.h"

#include "fakes/FakePlatform.h"
#include "imaging/DocumentError.h"
#include "prefs/SettingsDefaults.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vellumix {
namespace {

const QImage& frozenDisplay() {
    static const QImage image = patternImage(QSize(1280, 800));
    return image;
}

class RegionOutcomeTest : public testing::Test {
protected:
    RegionOutcomeTest()
        : defaults(dir.filePath("defaults.ini")), record(defaults, lastRegionKey),
          display(fakeDisplay("LEFT", QRectF(0, 0, 640, 400), 2.0, QRectF(0, 0, 640, 400))),
          frozen(frozenDisplay()) {}

    QTemporaryDir dir;
    SettingsDefaults defaults;
    LastRegionRecord record;
    DisplayInfo display;
    QImage frozen;
};

TEST_F(RegionOutcomeTest, cropOutsideTheFrozenImageFailsWithRenderAndStoresNothing) {
    const CaptureChoice choice =
        resolveRegionOutcome(display, frozen, QRectF(700, 0, 100, 100), true, record);
    const auto* failed = std::get_if<FailedChoice>(&choice);
    ASSERT_NE(failed, nullptr);
    EXPECT_THROW(std::rethrow_exception(failed->error), DocumentError);
    EXPECT_FALSE(defaults.contains(lastRegionKey));
}

TEST(IntegralRectTest, floorsTheOriginAndTakesUpTheFarEdges) {
    // Edges less than half a pixel past a whole pixel still take it in.
    EXPECT_EQ(integralRect(QRectF(0.5, 1.5, 2.0, 2.0)), QRect(0, 1, 3, 3));
    EXPECT_EQ(integralRect(QRectF(0.7, 0.2, 2.5, 1.1)), QRect(0, 0, 4, 2));
    EXPECT_EQ(integralRect(QRectF(-0.5, 0, 1, 1)), QRect(-1, 0, 2, 1));
    EXPECT_EQ(integralRect(QRectF(3, 4, 5, 6)), QRect(3, 4, 5, 6));
}

TEST_F(RegionOutcomeTest, regionCropsEveryPixelItTouchesAndIsStoredWithItsScrolling) {
    struct Case {
        double scale;
        QRectF rect;
        bool allowsScroll;
        QRect pixels;
    };
    // 1.25: pixels 12.625 to 137.625 across, 25.375 to 125.375 down.
    // 1.5: pixels 4.5 to 129.15 across, 10.5 to 130.5 down.
    const Case cases[] = {{2.0, QRectF(10, 20, 100.4, 80.2), true, QRect(20, 40, 201, 161)},
                          {2.0, QRectF(0, 0, 640, 400), false, frozen.rect()},
                          {1.25, QRectF(10.1, 20.3, 100, 80), true, QRect(12, 25, 126, 101)},
                          {1.5, QRectF(3, 7, 83.1, 80), false, QRect(4, 10, 126, 121)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scale);
        display.scale = c.scale;
        const CaptureChoice choice =
            resolveRegionOutcome(display, frozen, c.rect, c.allowsScroll, record);
        const auto* region = std::get_if<RegionChoice>(&choice);
        ASSERT_NE(region, nullptr);
        EXPECT_EQ(region->image, frozen.copy(c.pixels));
        EXPECT_EQ(region->region, (CaptureRegion{display.id, c.rect, c.scale}));
        EXPECT_EQ(region->allowsScroll, c.allowsScroll);
        EXPECT_EQ(record.region(display), c.rect);
        EXPECT_EQ(record.allowsScroll(), c.allowsScroll);
    }
}

} // namespace
} // namespace vellumix
