#pragma once

#include <QFont>
#include <QString>

class QLabel;

// The text styles of the app's small windows, in logical pixels, so that a
// window laid out for a fixed size keeps its proportions whatever the
// desktop's font size.
namespace vellumix::textstyle {

enum class Style {
    title,            // a window's own heading
    headline,         // a section heading
    body,             // ordinary text
    secondaryBody,    // explanations under a heading, in a softer colour
    callout,          // list rows
    caption,          // small print
    secondaryCaption, // small print of lesser importance, in a softer colour
};

QFont font(Style style);
// A label of `text` in `style`, without a parent.
QLabel* label(const QString& text, Style style);
// A label at a size and weight of its own, for the few texts that follow no
// style (a panel's figures, a guide's large heading).
QLabel* label(const QString& text, int pixelSize, QFont::Weight weight);

} // namespace vellumix::textstyle
