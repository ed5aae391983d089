#include "prefs/SettingsDefaults.h"

namespace vellumix {

SettingsDefaults::SettingsDefaults(const QString& organization, const QString& application)
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             organization, application)) {}

SettingsDefaults::SettingsDefaults(const QString& iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat)) {}

QVariant SettingsDefaults::value(const QString& key) const {
    return m_settings->value(key);
}

void SettingsDefaults::setValue(const QString& key, const QVariant& value) {
    m_settings->setValue(key, value);
    m_settings->sync();
}

void SettingsDefaults::remove(const QString& key) {
    m_settings->remove(key);
    m_settings->sync();
}

bool SettingsDefaults::contains(const QString& key) const {
    return m_settings->contains(key);
}

QStringList SettingsDefaults::allKeys() const {
    return m_settings->allKeys();
}

} // namespace vellumix
