#pragma once

#include <QByteArray>
#include <QImage>

#include <optional>

namespace vellumix {

// Decodes the PNG files this library writes, and any other 8-bit RGB or RGBA
// file without colour chunks, with libdeflate's inflate, several times faster
// than libpng. Returns nothing for files it leaves to the general decoder
// (other bit depths and colour types, interlacing, gamma or ICC chunks, very
// large images); throws DocumentError(render) for files that are corrupt.
std::optional<QImage> readPngFast(const QByteArray& data);

} // namespace vellumix
