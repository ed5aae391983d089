#pragma once

#include "marks/ImageMark.h"

#include <QImage>
#include <QJsonObject>
#include <QVector>

// Turns one JSON mark object of an image request into an ImageMark, checking
// it in a fixed order so that the first problem found is the one reported.
namespace vellumix::MarkReader {

inline constexpr qsizetype maximumPoints = 10000;
inline constexpr qsizetype maximumTextLength = 200;
inline constexpr double maximumThickness = 100;
inline constexpr double minimumFontSize = 8;
inline constexpr double maximumFontSize = 200;
inline constexpr double maximumCornerRadius = 200;
inline constexpr double defaultThickness = 3;

// `accepted` are the marks of the same request read before this one: step
// marks are numbered after them and a pixelate mark blurs what they drew.
// Throws APIError for a bad mark and DocumentError when pixelating fails.
ImageMark read(const QJsonObject& mark, const QImage& source, const QVector<ImageMark>& accepted);

// User-perceived characters (grapheme clusters), not code units.
qsizetype characterCount(const QString& text);

} // namespace vellumix::MarkReader
