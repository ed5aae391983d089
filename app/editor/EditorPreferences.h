#pragma once

#include "prefs/Defaults.h"

#include <QColor>
#include <QString>

#include <optional>

// The editor's style as kept in the defaults store. Readers take a stored
// value only when it is one the editor could have written itself; anything
// else reads as absent and the document keeps its initial value.
namespace vellumix::EditorPreferences {

inline const QString formatKey = QStringLiteral("editor.exportFormat");
inline const QString thicknessKey = QStringLiteral("editor.thickness");
inline const QString fontSizeKey = QStringLiteral("editor.fontSize");
inline const QString colorKey = QStringLiteral("editor.color");

inline constexpr double thicknesses[] = {3, 6, 10};
inline constexpr double minimumFontSize = 12;
inline constexpr double maximumFontSize = 72;

std::optional<QString> format(const Defaults& defaults);
std::optional<double> thickness(const Defaults& defaults);
std::optional<double> fontSize(const Defaults& defaults);
// Opaque, from three sRGB components each within 0 to 1.
std::optional<QColor> color(const Defaults& defaults);

// The colour's sRGB components, when it has them within 0 to 1.
std::optional<QColor> inSrgb(const QColor& color);
// Stores red, green and blue; a colour outside sRGB is not stored.
void storeColor(Defaults& defaults, const QColor& color);

} // namespace vellumix::EditorPreferences
