#pragma once

#include <QImage>

namespace vellumix {

// Outlines drawn around text: the frame of a button around its label, a box
// around a field. The engine takes such a frame and what it encloses for one
// shape and reads nothing there.
namespace InkFrames {

// `grey` (Format_Grayscale8, dark on light) without the connected ink that
// encloses other ink.
QImage withoutFrames(QImage grey);

} // namespace InkFrames
} // namespace vellumix
