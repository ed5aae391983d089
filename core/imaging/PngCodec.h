#pragma once

#include <QByteArray>
#include <QImage>

namespace vellumix {

// Lossless PNG coding for everything the library writes: long-document strips,
// saved and copied images. Both throw DocumentError(render) on failure.
//
// encodePng takes any image; it is written from its premultiplied RGBA8888
// form as non-premultiplied RGBA, or as RGB when every pixel is opaque, so
// decodePng(encodePng(image)) gives back the premultiplied pixels exactly.
QByteArray encodePng(const QImage& image);

// Decodes the first image of a PNG file into Format_RGBA8888_Premultiplied
// with the sRGB colour space.
QImage decodePng(const QByteArray& data);

} // namespace vellumix
