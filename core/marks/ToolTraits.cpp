#include "marks/ToolTraits.h"

#include <array>

namespace vellumix {

namespace {

using T = DrawingTool;
using P = ToolPoints;

// In the order of DrawingTool's values.
constexpr std::array<ToolTraits, drawing_tool::allCases.size()> traits = {{
    // tool, points, exactPoints, text, width, corners, handles
    {T::select, P::two, 0, false, true, false, false},
    {T::rectangle, P::two, 0, false, true, true, false},
    {T::ellipse, P::two, 0, false, true, false, false},
    {T::line, P::two, 0, false, true, false, false},
    {T::arrow, P::two, 0, false, true, false, false},
    {T::curvedArrow, P::curve, 3, false, true, false, true},
    {T::callout, P::two, 2, true, false, false, true},
    {T::pen, P::path, 0, false, true, false, false},
    {T::pixelate, P::two, 0, false, true, false, false},
    {T::text, P::one, 0, true, false, false, false},
    {T::step, P::one, 0, true, false, false, false},
    {T::highlight, P::two, 0, false, true, true, false},
    {T::cover, P::two, 0, false, false, false, false},
    {T::crop, P::two, 0, false, false, false, false},
}};

static_assert([] {
    for (size_t i = 0; i < traits.size(); ++i) {
        if (traits[i].tool != drawing_tool::allCases[i]) {
            return false;
        }
    }
    return true;
}());

} // namespace

const ToolTraits& ToolTraits::of(DrawingTool tool) {
    return traits[static_cast<size_t>(tool)];
}

QPointF curve::controlPoint(QPointF p0, QPointF p1) {
    const QPointF middle = (p0 + p1) / 2;
    return QPointF(middle.x() - bend * (p1.y() - p0.y()), middle.y() + bend * (p1.x() - p0.x()));
}

} // namespace vellumix
