#pragma once

#include <QByteArray>
#include <QImage>

namespace vellumix::bench {

// The fast libpng route, for comparison: the sub filter only and zlib level 1,
// with an opaque image written as RGB.
QByteArray encodeWithFastLibpng(const QImage& opaqueImage);

} // namespace vellumix::bench
