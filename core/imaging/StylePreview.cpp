#include "imaging/StylePreview.h"

#include "imaging/EditedImage.h"
#include "imaging/OutputBitmap.h"

#include <optional>

namespace vellumix::StylePreview {

namespace {

const QColor pageBackground = QColor::fromRgbF(0.95f, 0.96f, 0.98f);
const QColor dark = QColor::fromRgbF(0.15f, 0.19f, 0.28f);
const QColor blue = QColor::fromRgbF(0.24f, 0.37f, 0.89f);
const QColor orange = QColor::fromRgbF(0.93f, 0.37f, 0.22f);
const QColor white = Qt::white;

struct MarkRow {
    DrawingTool tool;
    QVector<QPointF> points;
    QColor color;
    const char* text = "";
    std::optional<double> fontSize = std::nullopt;
    double cornerRadius = 0;
    double thickness = 3;
};

// The page's own text, all in one colour.
MarkRow label(QPointF at, const char* text, double fontSize) {
    return {.tool = DrawingTool::text,
            .points = {at},
            .color = dark,
            .text = text,
            .fontSize = fontSize};
}

// Drawn into the picture, in this order.
const MarkRow pageRows[] = {
    label({40, 30}, "Annotations · Try it out", 28),
    label({40, 76}, "Drag objects and handles. Double-click to edit text or numbers.", 17),
    {.tool = DrawingTool::cover, .points = {{40, 135}, {465, 475}}, .color = white},
    label({70, 162}, "Notifications", 25),
    label({70, 232}, "Receive alerts", 22),
    label({70, 313}, "Weekly summary", 22),
    {.tool = DrawingTool::rectangle,
     .points = {{320, 220}, {430, 264}},
     .color = blue,
     .cornerRadius = 12},
    label({336, 229}, "On", 19),
    label({322, 405}, "Save settings", 19),
};

// Handed to the caller, in this order. A callout's points are the bubble's
// origin then the target; a curved arrow's are start, end, control.
const MarkRow demonstrationRows[] = {
    {.tool = DrawingTool::highlight,
     .points = {{68, 308}, {250, 344}},
     .color = orange,
     .cornerRadius = 8},
    {.tool = DrawingTool::step, .points = {{55, 315}}, .color = orange, .text = "2"},
    {.tool = DrawingTool::callout,
     .points = {{550, 145}, {438, 242}},
     .color = blue,
     .text = "Enable alerts\nStay up to date",
     .fontSize = 22},
    {.tool = DrawingTool::curvedArrow,
     .points = {{665, 345}, {416, 399}, {600, 482}},
     .color = orange,
     .thickness = 4},
};

template <std::size_t N> QVector<ImageMark> marksOf(const MarkRow (&rows)[N]) {
    QVector<ImageMark> marks;
    for (const MarkRow& row : rows) {
        ImageMark mark(row.tool, row.points, row.color, row.thickness, QString::fromUtf8(row.text));
        mark.cornerRadius = row.cornerRadius;
        mark.fontSize = row.fontSize;
        marks.append(mark);
    }
    return marks;
}

} // namespace

Sample make() {
    return Sample{
        EditedImage::render(outputBitmap(QSize(width, height), pageBackground), marksOf(pageRows)),
        marksOf(demonstrationRows)};
}

} // namespace vellumix::StylePreview
