#pragma once

#include "text/RecognisedLine.h"

#include <QStringList>

#include <vector>

namespace vellumix {

// The engine takes blocks of text side by side for columns and reads them one
// after the other. In a menu (labels and shortcuts) or a table that splits
// every row; this puts such rows together again.
namespace TableRows {

// Lines of blocks side by side share a row when their baselines are this
// share of the line height apart or closer: cells of one row are drawn on one
// baseline, while a sidebar and the pane beside it only come close by chance.
inline constexpr double rowTolerance = 0.2;
// A block is a column of a table when this share of its lines, and at least
// two, share rows with lines of other blocks; it joins those blocks. Two
// blocks also join when this share of the lines of the shorter one, and at
// least one, share rows with lines of the other.
inline constexpr double pairedShare = 0.7;

// The texts in reading order: blocks that form a table become one line per
// row, its cells left to right and separated by a space, placed where the
// first of those blocks was; other lines stay as they are.
QStringList readingOrder(const std::vector<RecognisedLine>& lines);

} // namespace TableRows
} // namespace vellumix
