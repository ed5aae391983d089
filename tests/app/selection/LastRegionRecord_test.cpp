#include "selection/LastRegionRecord.h"
#include "selection/RegionOutcome.h"
#include "support/PatternImage.h"

#include "fakes/FakePlatform.h"
#include "imaging/DocumentError.h"
#include "prefs/SettingsDefaults.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vellumix {
namespace {

// What LEFT showed when the region was chosen on it.
const QImage& frozenLeft() {
    static const QImage image = patternImage(QSize(2880, 1800));
    return image;
}

// The record a chosen region leaves, and what a later selection reads of it.
class LastRegionRecordTest : public testing::Test {
protected:
    LastRegionRecordTest()
        : defaults(dir.filePath("defaults.ini")), record(defaults, lastRegionKey),
          primary(fakeDisplay("LEFT", QRectF(0, 0, 1440, 900), 2.0, QRectF(0, 0, 1440, 900))),
          second(
              fakeDisplay("RIGHT", QRectF(1440, -200, 1920, 1080), 1.0, QRectF(0, 0, 1440, 900))) {}

    // A record as the store holds it, with one entry replaced or removed.
    void storeWith(const QString& key, const QVariant& value) {
        record.store(primary, QRectF(100, 50, 300, 200), true);
        QVariantMap map = defaults.value(lastRegionKey).toMap();
        if (value.isValid()) {
            map.insert(key, value);
        } else {
            map.remove(key);
        }
        defaults.setValue(lastRegionKey, map);
    }

    QTemporaryDir dir;
    SettingsDefaults defaults;
    LastRegionRecord record;
    DisplayInfo primary;
    DisplayInfo second;
};

TEST_F(LastRegionRecordTest, recordHoldsElevenNumbersWithBottomLeftScreenOrigin) {
    record.store(second, QRectF(10, 20, 300, 400), true);
    const QVariantMap map = defaults.value(lastRegionKey).toMap();
    EXPECT_EQ(map.size(), 11);
    EXPECT_EQ(map["display"].toDouble(), double(second.id));
    EXPECT_EQ(map["screenX"].toDouble(), 1440);
    // 900 − (−200 + 1080): the bottom edge lies 20 points above the primary's.
    EXPECT_EQ(map["screenY"].toDouble(), 20);
    EXPECT_EQ(map["screenWidth"].toDouble(), 1920);
    EXPECT_EQ(map["screenHeight"].toDouble(), 1080);
    EXPECT_EQ(map["scale"].toDouble(), 1.0);
    EXPECT_EQ(map["allowsScroll"].toDouble(), 1.0);
    EXPECT_EQ(map["width"].typeId(), QMetaType::Double);
}

TEST_F(LastRegionRecordTest, anotherDisplayOrChangedScaleOrArrangementInvalidatesTheRecord) {
    record.store(primary, QRectF(100, 50, 300, 200), true);
    const std::function<void(DisplayInfo&)> changes[] = {
        [this](DisplayInfo& d) { d.id = second.id; },
        [](DisplayInfo& d) { d.scale = 1.0; },
        [](DisplayInfo& d) { d.bottomLeftFrame.moveTo(0, 1); },
        [](DisplayInfo& d) { d.bottomLeftFrame.setWidth(1280); },
    };
    for (const auto& change : changes) {
        DisplayInfo changed = primary;
        change(changed);
        EXPECT_EQ(record.region(changed), std::nullopt);
    }
}

TEST_F(LastRegionRecordTest, onlyRegionsOnTheDisplayWithSidesOfEightyPointsAreValid) {
    const std::pair<QRectF, bool> cases[] = {
        {QRectF(1040, 700, 400, 200), true},
        {QRectF(1040, 700, 400.5, 200), false},
        {QRectF(1040, 700, 400, 200.25), false},
        {QRectF(-0.5, 0, 100, 100), false},
        {QRectF(0, 0, 79.5, 300), false},
        {QRectF(0, 0, 300, 79.5), false},
        {QRectF(0, 0, 80, 80), true},
    };
    for (const auto& [rect, valid] : cases) {
        record.store(primary, rect, true);
        EXPECT_EQ(record.region(primary), valid ? std::optional(rect) : std::nullopt)
            << rect.x() << " " << rect.width() << " " << rect.height();
    }
}

TEST_F(LastRegionRecordTest, missingEntriesOrStringsSpoilTheRecordButAMissingAllowsScroll) {
    const std::optional<QRectF> stored = QRectF(100, 50, 300, 200);
    // The entry, its new value (none: removed), the region, whether it may scroll.
    const std::tuple<const char*, QVariant, std::optional<QRectF>, bool> cases[] = {
        {"allowsScroll", QVariant(), stored, true},
        {"allowsScroll", 0.0, stored, false},
        {"x", 100, stored, true},
        {"allowsScroll", QStringLiteral("0"), std::nullopt, true},
        {"x", QStringLiteral("100"), std::nullopt, true},
        {"display", QVariant(), std::nullopt, true},
        {"scale", QVariant(), std::nullopt, true},
        {"screenX", QVariant(), std::nullopt, true},
        {"screenHeight", QVariant(), std::nullopt, true},
        {"x", QVariant(), std::nullopt, true},
        {"height", QVariant(), std::nullopt, true},
    };
    for (const auto& [key, value, region, allowsScroll] : cases) {
        SCOPED_TRACE(key + (" = " + value.toString().toStdString()));
        storeWith(key, value);
        EXPECT_EQ(record.region(primary), region);
        EXPECT_EQ(record.allowsScroll(), allowsScroll);
    }
    defaults.setValue(lastRegionKey, QStringLiteral("not a record"));
    EXPECT_EQ(record.region(primary), std::nullopt);
    EXPECT_TRUE(record.allowsScroll());
    defaults.remove(lastRegionKey);
    EXPECT_TRUE(record.allowsScroll());
}

TEST_F(LastRegionRecordTest, cropOutsideTheFrozenImageFailsWithRenderAndStoresNothing) {
    const CaptureChoice choice =
        resolveRegionOutcome(primary, frozenLeft(), QRectF(1500, 0, 100, 100), true, record);
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

TEST_F(LastRegionRecordTest, regionCropsEveryPixelItTouchesAndIsStoredWithItsScrolling) {
    struct Case {
        double scale;
        QRectF rect;
        bool allowsScroll;
        QRect pixels;
    };
    // 1.25: pixels 12.625 to 137.625 across, 25.375 to 125.375 down.
    // 1.5: pixels 4.5 to 129.15 across, 10.5 to 130.5 down.
    const Case cases[] = {{2.0, QRectF(10, 20, 100.4, 80.2), true, QRect(20, 40, 201, 161)},
                          {2.0, QRectF(0, 0, 1440, 900), false, frozenLeft().rect()},
                          {1.25, QRectF(10.1, 20.3, 100, 80), true, QRect(12, 25, 126, 101)},
                          {1.5, QRectF(3, 7, 83.1, 80), false, QRect(4, 10, 126, 121)}};
    DisplayInfo display = primary;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scale);
        display.scale = c.scale;
        const CaptureChoice choice =
            resolveRegionOutcome(display, frozenLeft(), c.rect, c.allowsScroll, record);
        const auto* region = std::get_if<RegionChoice>(&choice);
        ASSERT_NE(region, nullptr);
        EXPECT_EQ(region->image, frozenLeft().copy(c.pixels));
        EXPECT_EQ(region->region, (CaptureRegion{display.id, c.rect, c.scale}));
        EXPECT_EQ(region->allowsScroll, c.allowsScroll);
        EXPECT_EQ(record.region(display), c.rect);
        EXPECT_EQ(record.allowsScroll(), c.allowsScroll);
    }
}

} // namespace
} // namespace vellumix
