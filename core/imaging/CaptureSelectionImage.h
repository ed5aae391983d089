#pragma once

#include "imaging/ImageLimits.h"

#include <QImage>
#include <QRectF>
#include <QString>
#include <QVector>

#include <cstdint>
#include <optional>

// Image operations of the selection overlay: the colour readout under the
// pointer and the picture of several windows captured at once.
namespace vellumix::CaptureSelectionImage {

// A composed picture obeys the same limits as a long document.
inline constexpr int64_t maximumSide = ImageLimits::maximumSide;
inline constexpr int64_t maximumPixels = ImageLimits::maximumPixels;

// One window's image and where the window stands, in points with y downward.
struct CompositionPart {
    QImage image;
    QRectF rect;
};

// The straight (not premultiplied) colour of pixel (x, y) as "#RRGGBB", or
// nothing when the pixel lies outside the image.
std::optional<QString> hex(const QImage& image, int x, int y);

// The parts laid out as they stand, `scale` pixels per point, over a
// transparent background; later parts cover earlier ones. Throws
// DocumentError(render) for no parts, a bad scale, a picture past the limits
// or a bitmap that cannot be made.
QImage compose(const QVector<CompositionPart>& parts, double scale);

} // namespace vellumix::CaptureSelectionImage
