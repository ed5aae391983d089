#include "prefs/PreferenceMigration.h"

#include "prefs/SettingsDefaults.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vellumix;

namespace {

class PreferenceMigrationTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    SettingsDefaults m_current{path("current.ini")};
};

const QVariantMap legacyStore = {
    {"shortcut.capture.key", "K"},        {"shortcut.capture.modifiers", "⌃⌥"},
    {"editor.exportFormat", "jpg"},       {"editor.thickness", 5},
    {"capture.lastRegion.v1", "1,2,3,4"}, {"Editor.fontSize", 30},
    {"shortcut.captureKey", "Q"},         {"shortcut.other", "W"},
};

} // namespace

TEST_F(PreferenceMigrationTest, copiesOnlyKeysWithAMigratedPrefixAndSetsTheMarker) {
    PreferenceMigration::migrate(m_current, legacyStore);
    SettingsDefaults reopened(path("current.ini"));
    EXPECT_EQ(reopened.value("shortcut.capture.key").toString(), "K");
    EXPECT_EQ(reopened.value("shortcut.capture.modifiers").toString(), "⌃⌥");
    EXPECT_EQ(reopened.value("editor.exportFormat").toString(), "jpg");
    EXPECT_EQ(reopened.value("editor.thickness").toInt(), 5);
    for (const char* key :
         {"capture.lastRegion.v1", "Editor.fontSize", "shortcut.captureKey", "shortcut.other"}) {
        EXPECT_FALSE(reopened.contains(key)) << key;
    }
    EXPECT_TRUE(reopened.value(PreferenceMigration::markerKey).toBool());
}

TEST_F(PreferenceMigrationTest, aCurrentValueIsNeverOverwritten) {
    m_current.setValue("shortcut.capture.key", "X");
    m_current.setValue("editor.exportFormat", "png");
    PreferenceMigration::migrate(m_current, legacyStore);
    EXPECT_EQ(m_current.value("shortcut.capture.key").toString(), "X");
    EXPECT_EQ(m_current.value("editor.exportFormat").toString(), "png");
    EXPECT_EQ(m_current.value("shortcut.capture.modifiers").toString(), "⌃⌥");
}

TEST_F(PreferenceMigrationTest, anEmptyLegacyStoreStillCompletesTheMigration) {
    PreferenceMigration::migrate(m_current, {});
    EXPECT_TRUE(m_current.value(PreferenceMigration::markerKey).toBool());
    PreferenceMigration::migrate(m_current, legacyStore);
    EXPECT_FALSE(m_current.contains("shortcut.capture.key"));
    EXPECT_FALSE(m_current.contains("editor.exportFormat"));
}

TEST_F(PreferenceMigrationTest, aSecondRunCopiesNothingEvenAfterValuesWereDeleted) {
    PreferenceMigration::migrate(m_current, legacyStore);
    m_current.remove("shortcut.capture.key");
    m_current.remove("editor.thickness");
    SettingsDefaults nextLaunch(path("current.ini"));
    PreferenceMigration::migrate(nextLaunch, legacyStore);
    EXPECT_FALSE(nextLaunch.contains("shortcut.capture.key"));
    EXPECT_FALSE(nextLaunch.contains("editor.thickness"));
}

TEST_F(PreferenceMigrationTest, aMarkerStoredAsFalseStillMigrates) {
    m_current.setValue(PreferenceMigration::markerKey, false);
    PreferenceMigration::migrate(m_current, legacyStore);
    EXPECT_EQ(m_current.value("shortcut.capture.key").toString(), "K");
    EXPECT_TRUE(m_current.value(PreferenceMigration::markerKey).toBool());
}

TEST_F(PreferenceMigrationTest, storedValuesReadsEveryKeyOfAnIniStore) {
    SettingsDefaults legacy(path("legacy.ini"));
    legacy.setValue("editor.color", "0.1,0.2,0.3,1");
    legacy.setValue("capture.lastRegion.v1", "a");
    const QVariantMap values = PreferenceMigration::storedValues(legacy);
    EXPECT_EQ(values.size(), 2);
    EXPECT_EQ(values.value("editor.color").toString(), "0.1,0.2,0.3,1");
    EXPECT_TRUE(PreferenceMigration::storedValues(SettingsDefaults(path("absent.ini"))).isEmpty());
    EXPECT_FALSE(QFile::exists(path("absent.ini")));
}

TEST_F(PreferenceMigrationTest, theLegacyDomainIsReadFromTheUsersConfigurationFolder) {
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
    const QString legacyFile =
        path(QStringLiteral("%1.ini").arg(PreferenceMigration::legacyDomain));
    PreferenceMigration::migrateFromLegacyDomain(m_current);
    EXPECT_TRUE(m_current.value(PreferenceMigration::markerKey).toBool());
    EXPECT_FALSE(QFile::exists(legacyFile));

    SettingsDefaults(legacyFile).setValue("editor.fontSize", 24);
    SettingsDefaults fresh(path("fresh.ini"));
    PreferenceMigration::migrateFromLegacyDomain(fresh);
    EXPECT_EQ(fresh.value("editor.fontSize").toInt(), 24);
}
