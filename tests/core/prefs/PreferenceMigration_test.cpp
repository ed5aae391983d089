#include "prefs/PreferenceMigration.h"
#include "prefs/SettingsDefaults.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vellumix;
using PreferenceMigration::markerKey;
using PreferenceMigration::migrate;

namespace {

class PreferenceMigrationTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    SettingsDefaults m_current{path("current.ini")};
};

const QVariantMap legacyStore = {
    {"shortcut.capture.key", "K"},  {"shortcut.capture.modifiers", "⌃⌥"},
    {"editor.exportFormat", "jpg"}, {"editor.thickness", 5},
    {"capture.lastRegion.v1", "1"}, {"Editor.fontSize", 30},
    {"shortcut.captureKey", "Q"},
};

} // namespace

// Only a marker stored as true counts as a finished migration.
TEST_F(PreferenceMigrationTest, copiesAbsentKeysWithAMigratedPrefixAndSetsTheMarker) {
    m_current.setValue(markerKey, false);
    m_current.setValue("shortcut.capture.key", "X");
    migrate(m_current, legacyStore);
    const SettingsDefaults reopened(path("current.ini"));
    EXPECT_EQ(reopened.value("shortcut.capture.key").toString(), "X");
    EXPECT_EQ(reopened.value("shortcut.capture.modifiers").toString(), "⌃⌥");
    EXPECT_EQ(reopened.value("editor.exportFormat").toString(), "jpg");
    EXPECT_EQ(reopened.value("editor.thickness").toInt(), 5);
    EXPECT_FALSE(reopened.contains("capture.lastRegion.v1"));
    EXPECT_FALSE(reopened.contains("Editor.fontSize"));
    EXPECT_FALSE(reopened.contains("shortcut.captureKey"));
    EXPECT_TRUE(reopened.value(markerKey).toBool());
}

// A run that found no legacy domain still stops every later run, so keys the
// user deleted after the first run stay deleted.
TEST_F(PreferenceMigrationTest, theLegacyDomainIsReadFromTheUsersConfigurationFolderOnce) {
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
    const QString legacyFile = path(QString("%1.ini").arg(PreferenceMigration::legacyDomain));
    PreferenceMigration::migrateFromLegacyDomain(m_current);
    EXPECT_TRUE(m_current.value(markerKey).toBool());
    EXPECT_FALSE(QFile::exists(legacyFile));

    SettingsDefaults(legacyFile).setValue("editor.fontSize", 24);
    SettingsDefaults nextLaunch(path("current.ini"));
    PreferenceMigration::migrateFromLegacyDomain(nextLaunch);
    EXPECT_FALSE(nextLaunch.contains("editor.fontSize"));
    SettingsDefaults fresh(path("fresh.ini"));
    PreferenceMigration::migrateFromLegacyDomain(fresh);
    EXPECT_EQ(fresh.value("editor.fontSize").toInt(), 24);
}
