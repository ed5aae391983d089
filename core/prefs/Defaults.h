#pragma once

#include <QString>
#include <QVariant>

namespace vellumix {

// The user defaults store: a flat map of dotted keys to values. The app uses
// the QSettings-backed store; tests use one backed by a temporary file.
class Defaults {
public:
    virtual ~Defaults() = default;

    virtual QVariant value(const QString& key) const = 0;
    virtual void setValue(const QString& key, const QVariant& value) = 0;
    virtual void remove(const QString& key) = 0;
    virtual bool contains(const QString& key) const = 0;
};

} // namespace vellumix
