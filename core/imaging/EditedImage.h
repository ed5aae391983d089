#pragma once

#include "marks/ImageMark.h"

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QVector>

#include <optional>

// The single place where annotated output is produced. Every function throws
// DocumentError(render) on failure and returns nothing partial. Output
// bitmaps are Format_RGBA8888_Premultiplied in sRGB.
namespace vellumix::EditedImage {

QImage render(const QImage& source, const QVector<ImageMark>& marks,
              std::optional<QRectF> crop = std::nullopt);
QImage pixelated(const QImage& image, int blockSize);
QByteArray jpeg(const QImage& image, double quality);
QByteArray png(const QImage& image);

} // namespace vellumix::EditedImage
