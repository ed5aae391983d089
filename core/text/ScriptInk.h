#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include <optional>

namespace vellumix {

// Simplified and Traditional Chinese share most characters; where they part,
// the Traditional form nearly always has more strokes (這 and 这, 個 and 个).
// The models cannot tell: each reads the other script's characters as a
// look-alike of its own with full confidence. The ink can: beside the
// characters both readings share, the characters where they part hold as much
// more ink in the image as the right script's forms do when drawn.
namespace ScriptInk {

// How much better `a` than `b`, two readings of the line in `box` of
// `prepared` (Format_Grayscale8, dark on light), matches the ink of the
// characters where they part: above 0 when `a` has the forms the image shows.
// Nothing when that cannot be told this way (readings of different lengths,
// no shared or no differing ideograph).
std::optional<double> lead(const QImage& prepared, const QRect& box, const QString& a,
                           const QString& b);

} // namespace ScriptInk
} // namespace vellumix
