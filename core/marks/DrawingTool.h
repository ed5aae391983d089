#pragma once

#include <QString>

#include <array>
#include <optional>

namespace vellumix {

// The raw values are part of the image tool's JSON format and never change.
enum class DrawingTool {
    select,
    rectangle,
    ellipse,
    line,
    arrow,
    curvedArrow,
    callout,
    pen,
    pixelate,
    text,
    step,
    highlight,
    cover,
    crop,
};

namespace drawing_tool {

inline constexpr std::array<DrawingTool, 14> allCases = {
    DrawingTool::select,   DrawingTool::rectangle,   DrawingTool::ellipse, DrawingTool::line,
    DrawingTool::arrow,    DrawingTool::curvedArrow, DrawingTool::callout, DrawingTool::pen,
    DrawingTool::pixelate, DrawingTool::text,        DrawingTool::step,    DrawingTool::highlight,
    DrawingTool::cover,    DrawingTool::crop,
};

QString rawValue(DrawingTool tool);
// Exact, case-sensitive match against the fourteen raw values.
std::optional<DrawingTool> fromRawValue(const QString& raw);

} // namespace drawing_tool
} // namespace vellumix
