#pragma once

#include "prefs/Defaults.h"

#include <QVariantMap>

#include <array>

// Takes over the editor and shortcut preferences of the legacy defaults
// domain, once per user, never overwriting a value the current store holds.
namespace vellumix::PreferenceMigration {

// Set to true in the current store once the migration has run.
inline constexpr char markerKey[] = "migration.vellumix.preferences.v1";
// The QSettings organisation under which the legacy preferences live.
inline constexpr char legacyDomain[] = "com.local.orbitalmesa";
// A legacy key moves when it begins with one of these (case-sensitive).
inline constexpr std::array<const char*, 2> migratedPrefixes = {"editor.", "shortcut.capture."};

// Copies the legacy values whose keys carry a migrated prefix and are absent
// from `defaults`, then sets the marker. Does nothing once the marker is set,
// whatever `legacy` holds by then.
void migrate(Defaults& defaults, const QVariantMap& legacy);

// The start-up call: migrates from the legacy domain as QSettings finds it
// for this user.
void migrateFromLegacyDomain(Defaults& defaults);

} // namespace vellumix::PreferenceMigration
