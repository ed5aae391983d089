#include "marks/DrawingTool.h"

#include <gtest/gtest.h>

using namespace vellumix;

TEST(DrawingTool, rawValuesRoundTripExactly) {
    for (DrawingTool tool : drawing_tool::allCases) {
        EXPECT_EQ(drawing_tool::fromRawValue(drawing_tool::rawValue(tool)), tool);
    }
    EXPECT_EQ(drawing_tool::fromRawValue("pen"), DrawingTool::pen);
    EXPECT_EQ(drawing_tool::fromRawValue("curvedArrow"), DrawingTool::curvedArrow);
}
