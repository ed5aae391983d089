#pragma once

#include "marks/ImageMark.h"
#include "marks/MarkFont.h"

#include <QRectF>
#include <QStringList>

// Sizes and text layout derived from a mark's fields, shared by geometry and
// drawing so that what is hit-tested and framed is what is drawn.
namespace vellumix::mark_layout {

inline constexpr double bubbleWidth = 240;
inline constexpr double bubbleCornerRadius = 12;
inline constexpr double bubbleTextLeft = 16;
inline constexpr double bubbleTextTop = 14;
// The bubble's width less the text inset on both sides.
inline constexpr double bubbleWrapWidth = bubbleWidth - 2 * bubbleTextLeft;
// Extra bubble height around its lines of text.
inline constexpr double bubblePadding = 28;
inline constexpr double defaultCalloutFontSize = 22;
inline constexpr double minimumStepRadius = 14;
inline const QString calloutPlaceholder = QStringLiteral("Callout text");

MarkFont calloutFont(const ImageMark& mark);
MarkFont textFont(const ImageMark& mark);
// The bold font of a step badge's number, sized by the badge radius.
MarkFont stepFont(double radius);

double stepRadius(const ImageMark& mark);

// Everything a callout's bubble needs, laid out once for both framing and
// drawing.
struct CalloutLayout {
    MarkFont font;
    QStringList lines;
    // Origin at the first point, or at (0, 0) without points; as tall as the
    // lines plus the padding.
    QRectF bubble;
};
CalloutLayout calloutLayout(const ImageMark& mark);

// The callout's text broken into display lines at the bubble's wrap width:
// the placeholder stands in for empty text, every line feed starts a new
// paragraph, a blank paragraph keeps its line as a single space, and every
// line holds at least one UTF-16 unit.
QStringList calloutLines(const QString& text, const MarkFont& font);

// A text mark's lines: its text split at every line feed; empty text is one
// empty line.
QStringList textLines(const ImageMark& mark);

} // namespace vellumix::mark_layout
