#include "prefs/PreferenceMigration.h"

#include "prefs/SettingsDefaults.h"

#include <algorithm>

namespace vellumix::PreferenceMigration {

namespace {

bool isMigrated(const QString& key) {
    return std::any_of(migratedPrefixes.begin(), migratedPrefixes.end(),
                       [&](const char* prefix) { return key.startsWith(QLatin1String(prefix)); });
}

// Every value of a settings store; empty when the store does not exist.
QVariantMap storedValues(const SettingsDefaults& store) {
    QVariantMap values;
    for (const QString& key : store.allKeys()) {
        values.insert(key, store.value(key));
    }
    return values;
}

} // namespace

void migrate(Defaults& defaults, const QVariantMap& legacy) {
    if (defaults.value(markerKey).toBool()) {
        return;
    }
    for (auto entry = legacy.constBegin(); entry != legacy.constEnd(); ++entry) {
        if (isMigrated(entry.key()) && entry.value().isValid() && !defaults.contains(entry.key())) {
            defaults.setValue(entry.key(), entry.value());
        }
    }
    defaults.setValue(markerKey, true);
}

void migrateFromLegacyDomain(Defaults& defaults) {
    // Reading never creates the legacy file; a missing domain reads as empty.
    const SettingsDefaults legacy(legacyDomain, QString());
    migrate(defaults, storedValues(legacy));
}

} // namespace vellumix::PreferenceMigration
