#include "selection/LastRegionRecord.h"

#include <QMetaType>

namespace vellumix {

namespace {

// Number types the store may hand back for a number; anything else (a string
// above all) makes the whole record unreadable.
constexpr int numberTypes[] = {
    QMetaType::Double,   QMetaType::Float,     QMetaType::Int,  QMetaType::UInt,
    QMetaType::LongLong, QMetaType::ULongLong, QMetaType::Bool,
};

std::optional<double> numberOf(const QVariant& value) {
    for (const int type : numberTypes) {
        if (value.typeId() == type) {
            return value.toDouble();
        }
    }
    return std::nullopt;
}

struct Expected {
    const char* key;
    double value;
};

} // namespace

LastRegionRecord::LastRegionRecord(Defaults& defaults, const QString& key)
    : m_defaults(defaults), m_key(key) {}

std::optional<QMap<QString, double>> LastRegionRecord::numbers() const {
    const QVariant stored = m_defaults.value(m_key);
    if (stored.typeId() != QMetaType::QVariantMap) {
        return std::nullopt;
    }
    const QVariantMap map = stored.toMap();
    QMap<QString, double> result;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        const std::optional<double> number = numberOf(it.value());
        if (!number) {
            return std::nullopt;
        }
        result.insert(it.key(), *number);
    }
    return result;
}

std::optional<QRectF> LastRegionRecord::region(const DisplayInfo& display) const {
    const std::optional<QMap<QString, double>> record = numbers();
    if (!record) {
        return std::nullopt;
    }
    // Any change of arrangement, resolution or scale invalidates the record.
    const Expected expected[] = {
        {"display", double(display.id)},
        {"scale", display.scale},
        {"screenWidth", display.bottomLeftFrame.width()},
        {"screenHeight", display.bottomLeftFrame.height()},
        {"screenX", display.bottomLeftFrame.x()},
        {"screenY", display.bottomLeftFrame.y()},
    };
    for (const Expected& entry : expected) {
        const auto it = record->constFind(QLatin1String(entry.key));
        if (it == record->cend() || *it != entry.value) {
            return std::nullopt;
        }
    }
    for (const char* key : {"x", "y", "width", "height"}) {
        if (!record->contains(QLatin1String(key))) {
            return std::nullopt;
        }
    }
    const QRectF rect(record->value("x"), record->value("y"), record->value("width"),
                      record->value("height"));
    const QSizeF screen = display.bottomLeftFrame.size();
    const bool fits = rect.x() >= 0 && rect.y() >= 0 && rect.right() <= screen.width() &&
                      rect.bottom() <= screen.height();
    if (!(rect.width() >= minimumSide && rect.height() >= minimumSide) || !fits) {
        return std::nullopt;
    }
    return rect;
}

bool LastRegionRecord::allowsScroll() const {
    const std::optional<QMap<QString, double>> record = numbers();
    if (!record || !record->contains(QStringLiteral("allowsScroll"))) {
        return true;
    }
    return record->value(QStringLiteral("allowsScroll")) != 0;
}

void LastRegionRecord::store(const DisplayInfo& display, const QRectF& rect, bool allowsScroll) {
    const QRectF& screen = display.bottomLeftFrame;
    m_defaults.setValue(m_key, QVariantMap{
                                   {"display", double(display.id)},
                                   {"x", rect.x()},
                                   {"y", rect.y()},
                                   {"width", rect.width()},
                                   {"height", rect.height()},
                                   {"screenWidth", screen.width()},
                                   {"screenHeight", screen.height()},
                                   {"screenX", screen.x()},
                                   {"screenY", screen.y()},
                                   {"scale", display.scale},
                                   {"allowsScroll", allowsScroll ? 1.0 : 0.0},
                               });
}

} // namespace vellumix
