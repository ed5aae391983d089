#pragma once

#include "marks/ImageMark.h"

#include <QString>
#include <QVector>

#include <optional>

// Numbers of step marks. A step's text is its number as the user typed it;
// reading never overflows, however many digits the text has.
namespace vellumix::StepNumber {

inline constexpr int minimum = 1;
inline constexpr int maximum = 999;
inline const QString rangeMessage = QStringLiteral("The step number must be between 1 and 999");

// The text read as a decimal integer (an optional "+" or "-", then ASCII
// digits only), saturated to the range of int64; empty when it is not one.
std::optional<qint64> value(const QString& text);

// Whether a step may carry this text: a decimal integer from 1 to 999.
bool isValid(const QString& text);

// One more than the largest step number among `marks`, 1 without any; texts
// that are not numbers are skipped. Past `maximum` there is no next number.
std::optional<int> next(const QVector<ImageMark>& marks);

} // namespace vellumix::StepNumber
