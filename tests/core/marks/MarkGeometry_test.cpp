#include "fakes/GuiTestApp.h"
#include "marks/ImageMark.h"
#include "marks/MarkLayout.h"

#include <QPainterPath>

#include <gtest/gtest.h>

using namespace vellumix;

namespace {

ImageMark mark(DrawingTool tool, QVector<QPointF> points, double thickness = 2,
               QString text = QString()) {
    return ImageMark(tool, std::move(points), Qt::red, thickness, std::move(text));
}

double lineHeight(int pixelSize) {
    return MarkFont(pixelSize).lineAdvance();
}

} // namespace

// The font's own ascent and descent reach just past its capitals and its
// descenders; clipping heights, which leave room for accents and stacked
// marks, sit a third of an em higher.
TEST(MarkGeometry, ascentAndDescentHugTheGlyphOutlinesAtWholeAndFractionalSizes) {
    for (const bool bold : {false, true}) {
        SCOPED_TRACE(bold ? "bold" : "regular");
        const MarkFont font(100, bold);
        QPainterPath capitals;
        capitals.addText(0, 0, font.font(), QStringLiteral("HIEW"));
        QPainterPath descenders;
        descenders.addText(0, 0, font.font(), QStringLiteral("gjpqy"));
        const double capitalHeight = -capitals.boundingRect().top();
        const double descenderDepth = descenders.boundingRect().bottom();
        EXPECT_GE(font.ascent() + 0.5, capitalHeight);
        EXPECT_LE(font.ascent(), capitalHeight + 3);
        EXPECT_GE(font.descent() + 0.5, descenderDepth);
        EXPECT_LE(font.descent(), descenderDepth + 8);
    }
    // A fractional size scales the nearest whole size.
    const MarkFont whole(16);
    const MarkFont fractional(16.1);
    EXPECT_DOUBLE_EQ(fractional.ascent(), whole.ascent() * 16.1 / 16);
    EXPECT_DOUBLE_EQ(fractional.width(QStringLiteral("12")),
                     whole.width(QStringLiteral("12")) * 16.1 / 16);
}

// An empty callout shows its placeholder, a blank paragraph keeps its line,
// and a line holds one character even when no glyph fits; the bubble is as
// tall as its lines.
TEST(MarkGeometry, calloutLinesAndTheBubbleTheyFill) {
    const std::tuple<QString, std::optional<double>, QStringList> cases[] = {
        {QString(), std::nullopt, {"Callout text"}},
        {"a\n\nb", 30, {"a", " ", "b"}},
        {"WMW", 400, {"W", "M", "W"}},
    };
    for (const auto& [text, size, lines] : cases) {
        ImageMark callout = mark(DrawingTool::callout, {{20, 30}}, 2, text);
        callout.fontSize = size;
        EXPECT_EQ(mark_layout::calloutLayout(callout).lines, lines);
        EXPECT_EQ(callout.bubbleRect(),
                  QRectF(20, 30, 240, lineHeight(int(size.value_or(22))) * lines.size() + 28));
    }
}

TEST(MarkGeometry, longCalloutTextWrapsWithinTheBubbleAndLosesNothing) {
    const QString text = QStringLiteral("The quick brown fox jumps over the lazy dog while "
                                        "Averyveryveryverylongwordwithoutanybreakatall ends it");
    const ImageMark callout = mark(DrawingTool::callout, {{0, 0}}, 2, text);
    const mark_layout::CalloutLayout layout = mark_layout::calloutLayout(callout);
    const MarkFont& font = layout.font;
    const QStringList& lines = layout.lines;
    ASSERT_GT(lines.size(), 2);
    EXPECT_EQ(lines.join(QString()), text);
    for (const QString& line : lines) {
        EXPECT_LE(font.width(line.trimmed()), mark_layout::bubbleWrapWidth) << line.toStdString();
    }
    EXPECT_DOUBLE_EQ(callout.bubbleRect().height(), lineHeight(22) * lines.size() + 28);
}

// Strokes reach half their thickness past their points; a step's circle
// comes from its font size, else its thickness, never under a radius of 14;
// a callout unites its bubble and target with a margin of 4; text spans its
// widest line and every line's height.
TEST(MarkGeometry, boundsHoldWhatTheMarkDraws) {
    const auto sized = [](ImageMark m, double fontSize) {
        m.fontSize = fontSize;
        return m;
    };
    const double bubble = mark(DrawingTool::callout, {{0, 0}}).bubbleRect().height();
    const double widest = mark_layout::textFont(mark(DrawingTool::text, {{0, 0}}, 4))
                              .width(QStringLiteral("much longer line"));
    const ImageMark step = mark(DrawingTool::step, {{50, 50}}, 10, QStringLiteral("1"));
    const std::pair<ImageMark, QRectF> cases[] = {
        {mark(DrawingTool::rectangle, {{10, 10}, {110, 60}}, 4), {8, 8, 104, 54}},
        {mark(DrawingTool::pen, {{30, 5}, {10, 40}, {20, 0}}, 2), {9, -1, 22, 42}},
        {mark(DrawingTool::arrow, {{7, 9}}, 6), {4, 6, 6, 6}},
        {mark(DrawingTool::step, {{50, 50}}, 3, QStringLiteral("1")), {36, 36, 28, 28}},
        {step, {20, 20, 60, 60}},
        {sized(step, 40), {16, 16, 68, 68}},
        {sized(step, 20), {33, 33, 34, 34}},
        {mark(DrawingTool::callout, {{100, 100}, {400, 50}}), {96, 46, 309, bubble + 58}},
        {mark(DrawingTool::callout, {{100, 100}}), {96, 96, 248, bubble + 8}},
        {mark(DrawingTool::text, {{5, 6}}, 4, QStringLiteral("short\nmuch longer line")),
         {5, 6, widest, lineHeight(28) * 2}},
        {mark(DrawingTool::text, {{5, 6}}, 2), {5, 6, 0, lineHeight(18)}},
    };
    for (const auto& [shape, bounds] : cases) {
        EXPECT_EQ(shape.bounds(), bounds) << drawing_tool::rawValue(shape.tool).toStdString();
    }
    // A mark without points has empty bounds and is never hit.
    for (DrawingTool tool : drawing_tool::allCases) {
        const ImageMark empty = mark(tool, {}, 5, QStringLiteral("x"));
        EXPECT_EQ(empty.bounds(), QRectF(0, 0, 0, 0));
        EXPECT_FALSE(empty.hitTest({0, 0}, 100));
    }
}

// Outlines and strokes are hit within half the thickness plus the tolerance,
// curves along the curve, single points only when they cover an area.
TEST(MarkGeometry, marksAreHitOnWhatTheyDraw) {
    // Where, within what tolerance, whether it hits.
    using Probe = std::tuple<QPointF, double, bool>;
    const ImageMark callout = mark(DrawingTool::callout, {{0, 0}, {120, 300}}, 4);
    const double pointerY = (callout.bubbleRect().bottom() + 300) / 2;
    const std::pair<ImageMark, std::vector<Probe>> cases[] = {
        {mark(DrawingTool::rectangle, {{0, 0}, {100, 100}}, 2),
         {{{50, 50}, 5, false},
          {{2, 50}, 5, true},
          {{-4, 50}, 5, true},
          {{-6, 50}, 5, false},
          {{50, 50}, 60, true}}},
        {mark(DrawingTool::ellipse, {{0, 0}, {200, 100}}, 2),
         {{{200, 50}, 0, true},
          {{100, 3.5}, 3, true},
          {{100, 6}, 3, false},
          {{100, 50}, 10, false}}},
        {mark(DrawingTool::ellipse, {{10, 0}, {10, 100}}, 2), {{{10, 50}, 50, false}}},
        {mark(DrawingTool::arrow, {{10, 10}}), {{{10, 10}, 20, false}}},
        {mark(DrawingTool::pen, {{10, 10}}), {{{10, 10}, 20, false}}},
        {mark(DrawingTool::text, {{10, 10}}, 2, QStringLiteral("Hi")),
         {{{12, 20}, 0, true}, {{5, 20}, 0, false}, {{5, 20}, 6, true}}},
        {mark(DrawingTool::line, {{0, 0}, {100, 0}}, 4),
         {{{50, 5}, 3, true}, {{50, 5.5}, 3, false}, {{104, 0}, 2, true}, {{105, 0}, 2, false}}},
        {mark(DrawingTool::pen, {{0, 0}, {0, 50}, {50, 50}}, 2),
         {{{25, 52}, 1, true}, {{25, 25}, 1, false}}},
        {mark(DrawingTool::curvedArrow, {{0, 0}, {100, 0}, {50, 100}}, 2),
         {{{50, 50}, 1, true}, {{50, 0}, 1, false}}},
        {mark(DrawingTool::curvedArrow, {{0, 0}, {100, 0}}, 2), {{{50, 0}, 1, true}}},
        {callout,
         {{{239, 10}, 0, true},
          {{243, 10}, 2, false},
          {{120, pointerY}, 0, true},
          {{140, pointerY}, 2, false}}},
        {mark(DrawingTool::callout, {{0, 0}}), {{{120, 200}, 2, false}}},
    };
    for (const auto& [shape, probes] : cases) {
        for (const auto& [point, tolerance, hit] : probes) {
            EXPECT_EQ(shape.hitTest(point, tolerance), hit)
                << drawing_tool::rawValue(shape.tool).toStdString() << " at " << point.x() << ","
                << point.y() << " within " << tolerance;
        }
    }
}
