#include "marks/DrawingTool.h"

namespace vellumix::drawing_tool {

namespace {
constexpr std::array<const char*, 14> rawValues = {
    "select", "rectangle", "ellipse", "line", "arrow",     "curvedArrow", "callout",
    "pen",    "pixelate",  "text",    "step", "highlight", "cover",       "crop",
};
} // namespace

QString rawValue(DrawingTool tool) {
    return QString::fromLatin1(rawValues[static_cast<size_t>(tool)]);
}

std::optional<DrawingTool> fromRawValue(const QString& raw) {
    for (size_t i = 0; i < rawValues.size(); ++i) {
        if (raw == QLatin1String(rawValues[i])) {
            return allCases[i];
        }
    }
    return std::nullopt;
}

} // namespace vellumix::drawing_tool
