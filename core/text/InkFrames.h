#pragma once

#include <QImage>

namespace vellumix {

// Outlines drawn around text: the frame of a button around its label, a box
// around a field with the scroll bar drawn against it. The engine takes such a
// frame and what it encloses for one shape and reads nothing there, or reads
// the frame as brackets glued onto the text beside it.
namespace InkFrames {

// A frame around a whole screenshot's text is at least this many times as
// tall as the tallest ink it encloses: a button or a field leaves room above
// and below its text, while the box of a glyph such as 国 or 回 holds its
// inner strokes tightly.
inline constexpr double roomAroundText = 1.7;

// `grey` (Format_Grayscale8, dark on light) without checkered fills and
// without the thin connected ink that surrounds text and is at least `room`
// times as tall as the tallest glyph it surrounds.
QImage withoutFrames(QImage grey, double room = 0);

} // namespace InkFrames
} // namespace vellumix
