#pragma once

#include <QRect>
#include <QString>

namespace vellumix {

// One line as the engine read it, in the prepared image's pixels.
struct RecognisedLine {
    QString text;
    QRect box;
    int baseline = 0;     // where the letters sit, as a y coordinate
    float confidence = 0; // 0 to 100
    int block = 0;        // lines of one block share this, in reading order
    bool unread = false;  // found by UnreadInk outside the page layout
};

} // namespace vellumix
