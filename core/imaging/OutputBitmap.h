#pragma once

#include <QColor>
#include <QImage>
#include <QSize>

namespace vellumix {

// A bitmap in the pixel format every drawing of the library produces:
// Format_RGBA8888_Premultiplied in sRGB, filled with `fill`. Throws
// DocumentError(render) when the bitmap cannot be made.
QImage outputBitmap(QSize size, const QColor& fill = Qt::transparent);

} // namespace vellumix
