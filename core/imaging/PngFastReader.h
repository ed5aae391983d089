#pragma once

#include <QByteArray>
#include <QImage>

#include <optional>

namespace vellumix {

// Decodes non-interlaced 8-bit grey, grey and alpha, RGB, RGBA and palette
// PNG files with libdeflate's inflate, several times faster than libpng and
// to the same pixels as libpng's RGBA output. Returns nothing for files it
// leaves to the general decoder (other bit depths, interlacing, a gamma other
// than sRGB's, unusual chunk layouts, very large images); throws
// DocumentError(render) for files that are corrupt.
std::optional<QImage> readPngFast(const QByteArray& data);

} // namespace vellumix
