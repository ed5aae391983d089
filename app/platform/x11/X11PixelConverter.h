#pragma once

#include "platform/x11/X11Connection.h"

#include <QImage>

namespace vellumix {

// Turns ZPixmap data of the root window into a Format_RGBA8888_Premultiplied
// sRGB image. Screen pixels are opaque, so alpha is always 255. Throws
// PlatformError for pixel layouts other than 8-bit channels in 32-bit pixels.
QImage imageFromZPixmap(const uchar* data, QSize size, const X11PixelLayout& layout);

} // namespace vellumix
