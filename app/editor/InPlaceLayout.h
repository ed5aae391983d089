#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QVector>

#include <array>

// Where the in-place editor puts its parts on a screen of size W × H, in
// points with the origin at the screen's top-left corner. V is the on-screen
// rectangle of the visible picture.
namespace vellumix::InPlaceLayout {

inline constexpr double dimOpacity = 0.38;
inline constexpr double toolbarMaximumWidth = 740;
inline constexpr double screenMargin = 12;

// The four dimmed rectangles around V: above, below, left, right.
std::array<QRectF, 4> dimming(const QRectF& viewport, QSizeF screen);

double toolbarWidth(QSizeF screen);
// Below V when there is room, else above it, else over it near the bottom of
// the screen; kept within the screen sideways.
QPointF toolbarCenter(const QRectF& viewport, QSizeF screen);
// The pin and expand buttons: over V's top-right corner, inside V when V
// touches the top of the screen.
QPointF buttonsCenter(const QRectF& viewport, QSizeF screen);
QPointF captionCenter(QPointF toolbarCenter);
// Only failures and the text-length refusal are shown in place.
bool showsCaption(const QString& message);

} // namespace vellumix::InPlaceLayout
