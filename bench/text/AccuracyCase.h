#pragma once

#include <QImage>
#include <QString>

#include <vector>

namespace vellumix {

// One image with the text a perfect reader would return, line by line.
struct AccuracyCase {
    QString name;
    QImage image;
    QString reference;
};

// The screenshot-like images the accuracy benchmark reads: UI lines from 11 to
// 16 pixels at scale 1 and 2, dark on light and light on dark, a mixed-theme
// window, two columns of text and a line of Chinese.
std::vector<AccuracyCase> accuracyCases();

} // namespace vellumix
