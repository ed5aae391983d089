#pragma once

#include <QByteArray>
#include <QImage>

#include <optional>

namespace vellumix {

// The chunks that describe a file's colours rather than its pixel values.
struct PngColourChunks {
    QByteArray iccProfile; // inflated; empty when absent or unreadable
    bool srgb = false;
    bool gammaOrPrimaries = false;
};

// Decodes non-interlaced 8-bit grey, grey and alpha, RGB, RGBA and palette
// PNG files with libdeflate's inflate, several times faster than libpng and
// to the same pixels as libpng's RGBA output. Returns nothing for files it
// leaves to the general decoder (other bit depths, interlacing, a gamma other
// than sRGB's, unusual chunk layouts); throws
// DocumentError(render) for files that are corrupt.
//
// The pixels' colour space is always sRGB, as libpng's output is; readers
// that keep a file's own colour space ask for its colour chunks in `notes`.
std::optional<QImage> readPngFast(const QByteArray& data, PngColourChunks* notes = nullptr);

} // namespace vellumix
