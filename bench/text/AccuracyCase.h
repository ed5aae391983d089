#pragma once

#include <QImage>
#include <QString>

#include <vector>

namespace vellumix {

// One image with the text a perfect reader would return, line by line.
struct AccuracyCase {
    QString name;
    QString category;
    QString language; // "en", "zh-Hans", "zh-Hant" or "mixed"
    bool english;     // Latin text only
    QImage image;
    QString reference;
};

// The screenshot-like images the accuracy benchmark reads: each category of
// window content (coloured buttons, chat, sidebars, menus, code, tables,
// terminals, articles, settings, Chinese UI in both scripts) in a light and a
// dark theme at scale 1 and 2.
std::vector<AccuracyCase> accuracyCases();

} // namespace vellumix
