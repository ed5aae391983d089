#pragma once

#include "text/RecognitionOptions.h"

#include <QImage>
#include <QSize>

namespace vellumix {

// Turns a screenshot into the image the engine reads best: grey, dark on light
// and enlarged. (A white margin around it, often advised, read the benchmark's
// screenshots no better.)
namespace RecognitionImage {

// The engine keeps coordinates in 16 bits.
inline constexpr int maxSide = 32767;
// Enlarging never makes an image of more pixels than this (a 4K screenshot at
// twice its size still fits).
inline constexpr qint64 maxPixels = 40'000'000;

// An image whose smaller text (TextContrast's small text height) is this many
// pixels tall is read as it is: enlarging it further costs time and splits
// underscores off their words. Its small text decides, as a time stamp or a
// version under large titles loses its dots and digits unless enlarged.
inline constexpr int largeTextHeight = 14;

// A Format_Grayscale8 image: transparent pixels over white, text made dark on
// light by TextContrast and, unless even its smaller text is large, enlarged by
// upscaleFactor(), as `options` ask. The source is read pixel for pixel,
// whatever its device pixel ratio.
QImage prepare(const QImage& source, const RecognitionOptions& options);

// The largest factor from 1 to `requested` that keeps `size` within the limits.
int upscaleFactor(QSize size, int requested);

} // namespace RecognitionImage
} // namespace vellumix
