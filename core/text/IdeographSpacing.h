#pragma once

#include <QString>

namespace vellumix {

// Chinese is written without spaces, yet the engine separates the words it
// finds in a line of it ("打开 文件") whenever English comes first in its
// language list. This takes those spaces out again.
namespace IdeographSpacing {

// `line` without the spaces that stand between two ideographs (Han characters,
// CJK punctuation, full-width forms). Spaces next to any other character stay.
QString withoutSpacesBetweenIdeographs(const QString& line);

// The Chinese models read the full-width punctuation of Chinese text ("，",
// "！", "？", "：", "；") as its ASCII look-alike, often after a space. Such a
// mark right after an ideograph (spaces aside) is made full-width again, and
// the spaces before it go.
QString withFullWidthPunctuation(const QString& line);

} // namespace IdeographSpacing
} // namespace vellumix
