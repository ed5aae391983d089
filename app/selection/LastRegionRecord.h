#pragma once

#include "platform/DisplayInfo.h"
#include "prefs/Defaults.h"

#include <QVariantMap>

#include <optional>

namespace vellumix {

inline const QString lastRegionKey = QStringLiteral("capture.lastRegion.v1");

// The most recent region choice, kept in the defaults store as a map of
// eleven numbers so that the next overlay can offer it again. A record made
// on another display arrangement, resolution or scale is no record.
class LastRegionRecord final {
public:
    LastRegionRecord(Defaults& defaults, const QString& key);

    // The stored rectangle (display-local points) when the record was made on
    // this display as it is now and still fits it.
    std::optional<QRectF> region(const DisplayInfo& display) const;
    // Whether the stored choice allowed scrolling capture; true when unknown.
    bool allowsScroll() const;
    void store(const DisplayInfo& display, const QRectF& rect, bool allowsScroll);

    static constexpr double minimumSide = 80;

private:
    // The record as numbers, or nothing when any entry is not a number.
    std::optional<QMap<QString, double>> numbers() const;

    Defaults& m_defaults;
    QString m_key;
};

} // namespace vellumix
