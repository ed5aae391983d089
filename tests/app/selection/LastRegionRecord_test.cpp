#include "selection/LastRegionRecord.h"

#include "fakes/FakePlatform.h"
#include "prefs/SettingsDefaults.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vellumix {
namespace {

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
    DisplayInfo changed = primary;
    changed.id = second.id;
    EXPECT_EQ(record.region(changed), std::nullopt);
    changed = primary;
    changed.scale = 1.0;
    EXPECT_EQ(record.region(changed), std::nullopt);
    changed = primary;
    changed.bottomLeftFrame.moveTo(0, 1);
    EXPECT_EQ(record.region(changed), std::nullopt);
    changed = primary;
    changed.bottomLeftFrame.setWidth(1280);
    EXPECT_EQ(record.region(changed), std::nullopt);
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

} // namespace
} // namespace vellumix
