#pragma once

#include "prefs/Defaults.h"

#include <QSettings>

#include <memory>

namespace vellumix {

class SettingsDefaults final : public Defaults {
public:
    // The store of an organisation and application, as QSettings resolves it
    // on this system (an ini file under $XDG_CONFIG_HOME).
    SettingsDefaults(const QString& organization, const QString& application);
    // A store in one ini file; used by tests and for legacy stores at a known path.
    explicit SettingsDefaults(const QString& iniPath);

    QVariant value(const QString& key) const override;
    void setValue(const QString& key, const QVariant& value) override;
    void remove(const QString& key) override;
    bool contains(const QString& key) const override;

    // All keys of the store, groups flattened with "/" as QSettings does.
    QStringList allKeys() const;

private:
    std::unique_ptr<QSettings> m_settings;
};

} // namespace vellumix
