#pragma once

#include <QByteArray>
#include <QImage>

#include <cstddef>
#include <cstdint>

namespace vellumix {

// Lossless PNG coding for everything the library writes: long-document strips,
// saved and copied images. Both throw DocumentError(render) on failure.
//
// encodePng takes any image; it is written from its premultiplied RGBA8888
// form as non-premultiplied RGBA, or as RGB when every pixel is opaque, so
// decodePng(encodePng(image)) gives back the premultiplied pixels exactly.
QByteArray encodePng(const QImage& image);

// Images whose filtered rows take more than this many bytes are compressed a
// band at a time with zlib rather than in one pass with libdeflate: somewhat
// slower, but encoding never holds a second full-size copy of a large image.
inline constexpr size_t pngSinglePassLimit = 64u << 20;

// encodePng with another single-pass limit; tests reach the banded path with
// small images through it.
QByteArray encodePng(const QImage& image, size_t singlePassLimit);

// Decodes the first image of a PNG file into Format_RGBA8888_Premultiplied
// with the sRGB colour space. Files that claim more than
// pngMaximumDecodedPixels pixels fail before any pixel memory is taken, so a
// small forged file cannot ask for gigabytes.
QImage decodePng(const QByteArray& data);

inline constexpr uint64_t pngMaximumDecodedPixels = uint64_t(1) << 29;

} // namespace vellumix
