#pragma once

#include "marks/DrawingTool.h"

#include <QPointF>

namespace vellumix {

// How a tool's marks lie on the image.
enum class ToolPoints {
    one,   // an anchor: text, step
    two,   // two corners, or two ends
    path,  // every point the pointer passed
    curve, // start, end and the control point that bends the line
};

// What a tool's marks carry and which options and handles go with them: one
// row per tool, read by the request reader, the editor's canvas, document and
// options popover alike.
struct ToolTraits {
    DrawingTool tool;
    ToolPoints points;
    // The point count a mark must have exactly; 0 for any.
    int exactPoints;
    bool text;
    // A line width the user picks (for pixelate: the block size).
    bool width;
    bool corners;
    // Each point can be dragged on its own.
    bool handles;

    static const ToolTraits& of(DrawingTool tool);
};

namespace curve {

// How far the control point lies off the middle of the line, relative to
// the line's length.
inline constexpr double bend = 0.2;

// The control point a curve from p0 to p1 starts with: off the middle, to
// the right of the direction of travel.
QPointF controlPoint(QPointF p0, QPointF p1);

} // namespace curve
} // namespace vellumix
