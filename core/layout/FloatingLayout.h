#pragma once

#include <QRectF>
#include <QSizeF>

// Geometry of the app's floating windows. Pure functions without state that
// never fail; every rectangle is in Qt's convention, origin top-left and y
// downward.
namespace vellumix::FloatingLayout {

// Gap between a selection and the scrolling-capture preview panel, in points.
inline constexpr double previewMargin = 12;
inline constexpr double previewMinimumWidth = 220;
inline constexpr double previewMaximumWidth = 320;
inline constexpr double previewMaximumHeight = 620;

// A pixels-per-point scale as given when it is a positive normal number, 1
// otherwise (zero, negative, subnormal, infinite or not a number).
double normalizedScale(double sourceScale);

// The size in points of a pinned image of `pixels`, shrunk uniformly to fit
// `available` and never enlarged past its natural size.
QSizeF pinImageSize(QSizeF pixels, double sourceScale, QSizeF available);

// The preview panel's frame beside `selection`, both in global coordinates,
// kept within the screen's `visible` area: to the right when there is room,
// else to the left, else against the edge with more room. Its top is level
// with the selection's top as far as the visible area allows.
QRectF previewFrame(const QRectF& selection, const QRectF& visible);

// The part of `region` (points) that shows `crop`, given in source pixels of
// the image that fills `region` with the same origin; kept inside `region`.
QRectF croppedViewport(const QRectF& region, const QRectF& crop, double sourceScale);

} // namespace vellumix::FloatingLayout
