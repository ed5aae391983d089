#include "editor/StepNumber.h"

#include <limits>

namespace vellumix::StepNumber {

std::optional<qint64> value(const QString& text) {
    qsizetype i = 0;
    bool negative = false;
    if (!text.isEmpty() && (text[0] == QLatin1Char('+') || text[0] == QLatin1Char('-'))) {
        negative = text[0] == QLatin1Char('-');
        i = 1;
    }
    if (i == text.size()) {
        return std::nullopt;
    }
    constexpr qint64 limit = std::numeric_limits<qint64>::max();
    qint64 result = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        const int digit = c - u'0';
        result = result > (limit - digit) / 10 ? limit : result * 10 + digit;
    }
    return negative ? -result : result;
}

bool isValid(const QString& text) {
    const auto number = value(text);
    return number && *number >= minimum && *number <= maximum;
}

std::optional<int> next(const QVector<ImageMark>& marks) {
    qint64 largest = 0;
    for (const ImageMark& mark : marks) {
        if (mark.tool == DrawingTool::step) {
            largest = std::max(largest, value(mark.text).value_or(0));
        }
    }
    if (largest >= maximum) {
        return std::nullopt;
    }
    return int(largest + 1);
}

} // namespace vellumix::StepNumber
