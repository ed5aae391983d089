#pragma once

#include <QIcon>
#include <QString>

namespace vellumix::SymbolIcon {

// The icon for one of the editor's symbol names ("square", "arrow.up.right",
// "xmark"...), drawn from a glyph that the desktop's standard fonts carry, so
// buttons look the same under any icon theme or none. An unknown name gives
// a null icon.
QIcon icon(const QString& symbol, const QColor& color = QColor(40, 40, 40));

// The glyph behind a symbol; empty for an unknown name.
QString glyph(const QString& symbol);

} // namespace vellumix::SymbolIcon
