#pragma once

#include "prefs/Defaults.h"

#include <QVariantMap>

namespace vellumix {

// A defaults store in memory that counts its writes.
class MemoryDefaults final : public Defaults {
public:
    QVariant value(const QString& key) const override { return values.value(key); }
    void setValue(const QString& key, const QVariant& value) override {
        ++writes;
        values.insert(key, value);
    }
    void remove(const QString& key) override { values.remove(key); }
    bool contains(const QString& key) const override { return values.contains(key); }

    QVariantMap values;
    int writes = 0;
};

} // namespace vellumix
