#pragma once

#include <QImage>

namespace vellumix {

// Outlines drawn around text: the frame of a button around its label, a box
// around a field with the scroll bar drawn against it. The engine takes such a
// frame and what it encloses for one shape and reads nothing there, or reads
// the frame as brackets glued onto the text beside it.
namespace InkFrames {

// `grey` (Format_Grayscale8, dark on light) without checkered fills and
// without the thin connected ink that surrounds text with room to spare.
QImage withoutFrames(QImage grey);

} // namespace InkFrames
} // namespace vellumix
