#include "editor/EditorPreferences.h"

#include <QVariantList>

#include <algorithm>
#include <cmath>

namespace vellumix::EditorPreferences {

namespace {

// A stored number: a double, an integer, or (from an ini file) its text.
std::optional<double> number(const QVariant& value) {
    bool ok = false;
    const double result = value.toDouble(&ok);
    if (!ok || !std::isfinite(result) || value.typeId() == QMetaType::QVariantList) {
        return std::nullopt;
    }
    return result;
}

} // namespace

std::optional<QString> format(const Defaults& defaults) {
    if (defaults.value(formatKey).toString() == QLatin1String("jpg")) {
        return QStringLiteral("jpg");
    }
    return std::nullopt;
}

std::optional<double> thickness(const Defaults& defaults) {
    const auto value = number(defaults.value(thicknessKey));
    if (value && std::find(std::begin(thicknesses), std::end(thicknesses), *value) !=
                     std::end(thicknesses)) {
        return value;
    }
    return std::nullopt;
}

std::optional<double> fontSize(const Defaults& defaults) {
    const auto value = number(defaults.value(fontSizeKey));
    if (value && *value >= minimumFontSize && *value <= maximumFontSize) {
        return value;
    }
    return std::nullopt;
}

std::optional<QColor> color(const Defaults& defaults) {
    const QVariantList list = defaults.value(colorKey).toList();
    if (list.size() != 3) {
        return std::nullopt;
    }
    float components[3];
    for (int i = 0; i < 3; ++i) {
        const auto value = number(list[i]);
        if (!value || *value < 0 || *value > 1) {
            return std::nullopt;
        }
        components[i] = float(*value);
    }
    return QColor::fromRgbF(components[0], components[1], components[2]);
}

std::optional<QColor> inSrgb(const QColor& color) {
    if (!color.isValid()) {
        return std::nullopt;
    }
    // An extended-range colour keeps its components when converted, so a
    // component past 0 or 1 shows that it lies outside sRGB.
    const QColor rgb = color.spec() == QColor::ExtendedRgb ? color : color.toRgb();
    for (float c : {rgb.redF(), rgb.greenF(), rgb.blueF()}) {
        if (!(c >= 0 && c <= 1)) {
            return std::nullopt;
        }
    }
    return QColor::fromRgbF(rgb.redF(), rgb.greenF(), rgb.blueF(), rgb.alphaF());
}

void storeColor(Defaults& defaults, const QColor& color) {
    if (const auto rgb = inSrgb(color)) {
        defaults.setValue(colorKey, QVariantList{double(rgb->redF()), double(rgb->greenF()),
                                                 double(rgb->blueF())});
    }
}

} // namespace vellumix::EditorPreferences
