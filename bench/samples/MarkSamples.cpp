#include "MarkSamples.h"

#include "marks/ImageMark.h"

#include <QPainter>

#include <iterator>

namespace vellumix::samples {

namespace {

constexpr int cellWidth = 300;
constexpr int cellHeight = 220;
constexpr int columns = 4;
constexpr int labelHeight = 24;

const QColor red(235, 64, 52);
const QColor blue(40, 110, 230);
const QColor yellow(250, 205, 30);

ImageMark make(DrawingTool tool, QVector<QPointF> points, QColor color, double thickness,
               QString text = QString()) {
    return ImageMark(tool, std::move(points), color, thickness, std::move(text));
}

QImage checkerBitmap() {
    QImage bitmap(6, 4, QImage::Format_RGBA8888_Premultiplied);
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x) {
            bitmap.setPixelColor(x, y, QColor::fromHsv((x * 40 + y * 70) % 360, 160, 220));
        }
    }
    return bitmap;
}

using Marks = QVector<ImageMark>;

Marks rectangles() {
    ImageMark rounded = make(DrawingTool::rectangle, {{170, 40}, {270, 170}}, blue, 4);
    rounded.cornerRadius = 18;
    return {make(DrawingTool::rectangle, {{30, 40}, {140, 170}}, red, 4), rounded};
}

Marks ellipses() {
    return {make(DrawingTool::ellipse, {{30, 40}, {270, 170}}, red, 4)};
}

Marks lines() {
    return {make(DrawingTool::line, {{30, 170}, {270, 40}}, red, 6)};
}

Marks arrows() {
    return {make(DrawingTool::arrow, {{30, 170}, {260, 50}}, red, 4),
            make(DrawingTool::arrow, {{30, 60}, {150, 60}}, blue, 1)};
}

Marks curvedArrows() {
    return {make(DrawingTool::curvedArrow, {{30, 170}, {270, 150}, {120, 20}}, red, 4)};
}

Marks wrappedCallout() {
    return {make(DrawingTool::callout, {{20, 36}, {280, 200}}, blue, 3,
                 QStringLiteral("A callout wraps its text at the bubble's width"))};
}

Marks placeholderCallout() {
    return {make(DrawingTool::callout, {{30, 60}, {150, 200}}, red, 3)};
}

// A free-hand stroke, and a click that leaves a dot.
Marks penStrokes() {
    return {make(DrawingTool::pen,
                 {{30, 150}, {70, 60}, {110, 160}, {150, 50}, {190, 150}, {260, 70}}, red, 5),
            make(DrawingTool::pen, {{40, 190}, {40, 190}}, blue, 8)};
}

Marks pixelated() {
    ImageMark withBitmap = make(DrawingTool::pixelate, {{160, 40}, {280, 170}}, red, 8);
    withBitmap.bitmap = checkerBitmap();
    return {make(DrawingTool::pixelate, {{20, 40}, {140, 170}}, red, 8), withBitmap};
}

Marks texts() {
    return {make(DrawingTool::text, {{20, 40}}, red, 3, QStringLiteral("Text mark\nsecond line"))};
}

Marks steps() {
    ImageMark large = make(DrawingTool::step, {{220, 110}}, blue, 3, QStringLiteral("12"));
    large.fontSize = 40;
    // A dark band shows the badges' white outline.
    return {make(DrawingTool::cover, {{0, 95}, {300, 125}}, QColor(60, 60, 60), 1),
            make(DrawingTool::step, {{50, 110}}, red, 3, QStringLiteral("1")),
            make(DrawingTool::step, {{120, 110}}, red, 8, QStringLiteral("2")), large};
}

Marks highlights() {
    ImageMark capsule = make(DrawingTool::highlight, {{20, 120}, {280, 160}}, blue, 4);
    capsule.cornerRadius = 200;
    return {make(DrawingTool::text, {{24, 50}}, Qt::black, 3, QStringLiteral("highlighted")),
            make(DrawingTool::highlight, {{20, 45}, {200, 80}}, yellow, 4), capsule};
}

Marks covers() {
    return {make(DrawingTool::cover, {{30, 40}, {270, 170}}, Qt::black, 4)};
}

Marks editorOnlyTools() {
    return {make(DrawingTool::select, {{30, 40}, {270, 170}}, red, 4),
            make(DrawingTool::crop, {{30, 40}, {270, 170}}, red, 4)};
}

struct Sample {
    const char* label;
    Marks (*marks)();
};

constexpr Sample sampleList[] = {
    {"rectangle", rectangles},
    {"ellipse", ellipses},
    {"line", lines},
    {"arrow", arrows},
    {"curvedArrow", curvedArrows},
    {"callout", wrappedCallout},
    {"callout, placeholder", placeholderCallout},
    {"pen", penStrokes},
    {"pixelate: placeholder, bitmap", pixelated},
    {"text", texts},
    {"step", steps},
    {"highlight", highlights},
    {"cover", covers},
    {"select, crop: nothing", editorOnlyTools},
};

void drawCell(QPainter& painter, const Sample& sample, QPoint origin) {
    painter.save();
    painter.translate(origin);
    painter.setPen(QColor(200, 200, 200));
    painter.drawRect(QRect(0, 0, cellWidth - 1, cellHeight - 1));
    painter.setPen(Qt::black);
    painter.drawText(QRect(8, 0, cellWidth - 16, labelHeight), Qt::AlignVCenter,
                     QString::fromLatin1(sample.label));
    painter.setClipRect(QRect(1, 1, cellWidth - 2, cellHeight - 2));
    for (const ImageMark& mark : sample.marks()) {
        mark.draw(painter);
    }
    painter.restore();
}

} // namespace

QImage markSheet() {
    const int count = int(std::size(sampleList));
    const int rows = (count + columns - 1) / columns;
    QImage sheet(columns * cellWidth, rows * cellHeight, QImage::Format_RGBA8888_Premultiplied);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    for (int i = 0; i < count; ++i) {
        const QPoint origin(i % columns * cellWidth, i / columns * cellHeight);
        drawCell(painter, sampleList[i], origin);
    }
    return sheet;
}

} // namespace vellumix::samples
