#pragma once

#include <QString>

#include <vector>

namespace vellumix {

// Chinese is written without spaces, yet the engine separates the words it
// finds in a line of it ("打开 文件") whenever English comes first in its
// language list. This takes those spaces out again, and keeps the ones drawn:
// between menu titles, cells or labels that stand apart.
namespace IdeographSpacing {

// Ideographs this share of the line's height apart or more stand apart. The
// engine's word boxes in Chinese text are rough: words that touch can seem
// half a line apart.
inline constexpr double wideGap = 1.0;

// One word of a line as the engine read it, and where it lies across the line.
struct Word {
    QString text;
    int left = 0;
    int right = 0;
};

// The words of one line `lineHeight` pixels tall joined by a space, except
// between two ideographs closer than wideGap and around CJK punctuation.
QString joined(const std::vector<Word>& words, int lineHeight);

// The Chinese models read the full-width punctuation of Chinese text ("，",
// "！", "？", "：", "；") as its ASCII look-alike, often after a space. Such a
// mark right after an ideograph (spaces aside) is made full-width again, and
// the spaces around it go when an ideograph follows.
QString withFullWidthPunctuation(const QString& line);

} // namespace IdeographSpacing
} // namespace vellumix
