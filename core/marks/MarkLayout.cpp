#include "marks/MarkLayout.h"

#include <QTextLayout>
#include <QTextOption>

#include <algorithm>

namespace vellumix::mark_layout {

namespace {

constexpr double stepRadiusPerFontSize = 0.85;
constexpr double stepRadiusPerThickness = 3;
constexpr double stepFontPerRadius = 1.15;
constexpr double textFontPerThickness = 7;
constexpr double minimumTextFontSize = 18;

QTextOption wrapOption() {
    QTextOption option;
    // Like the bubble's line breaker, a word wider than the bubble is broken
    // inside the word rather than left overflowing.
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setUseDesignMetrics(true);
    return option;
}

// Appends the lines of paragraph from index on. Returns the index where a
// further layout has to start because the line breaker gave a line no text,
// or the paragraph's length once it is done.
qsizetype appendWrappedLines(const QString& paragraph, qsizetype index, const MarkFont& font,
                             QStringList& lines) {
    QTextLayout layout(paragraph.mid(index), font.font());
    layout.setTextOption(wrapOption());
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(bubbleWrapWidth / font.scale());
        if (line.textLength() <= 0) {
            lines.append(paragraph.mid(index, 1));
            layout.endLayout();
            return index + 1;
        }
        lines.append(paragraph.mid(index, line.textLength()));
        index += line.textLength();
    }
    layout.endLayout();
    return paragraph.size();
}

} // namespace

MarkFont calloutFont(const ImageMark& mark) {
    return MarkFont(mark.fontSize.value_or(defaultCalloutFontSize));
}

MarkFont textFont(const ImageMark& mark) {
    return MarkFont(mark.fontSize.value_or(
        std::max(mark.thickness * textFontPerThickness, minimumTextFontSize)));
}

MarkFont stepFont(double radius) {
    return MarkFont(radius * stepFontPerRadius, true);
}

double stepRadius(const ImageMark& mark) {
    const double radius = mark.fontSize ? *mark.fontSize * stepRadiusPerFontSize
                                        : mark.thickness * stepRadiusPerThickness;
    return std::max(radius, minimumStepRadius);
}

CalloutLayout calloutLayout(const ImageMark& mark) {
    CalloutLayout layout{calloutFont(mark), {}, {}};
    layout.lines = calloutLines(mark.text, layout.font);
    const QPointF origin = mark.points.isEmpty() ? QPointF(0, 0) : mark.points.front();
    const double height = layout.font.lineAdvance() * layout.lines.size() + bubblePadding;
    layout.bubble = QRectF(origin, QSizeF(bubbleWidth, height));
    return layout;
}

QStringList calloutLines(const QString& text, const MarkFont& font) {
    QStringList lines;
    const QString source = text.isEmpty() ? calloutPlaceholder : text;
    for (QString paragraph : source.split(QLatin1Char('\n'))) {
        if (paragraph.isEmpty()) {
            paragraph = QStringLiteral(" ");
        }
        for (qsizetype index = 0; index < paragraph.size();) {
            index = appendWrappedLines(paragraph, index, font, lines);
        }
    }
    return lines;
}

QStringList textLines(const ImageMark& mark) {
    return mark.text.split(QLatin1Char('\n'));
}

} // namespace vellumix::mark_layout
