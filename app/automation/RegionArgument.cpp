#include "automation/RegionArgument.h"

#include "api/APIError.h"
#include "api/ImageAPI.h"

#include <cmath>
#include <limits>

namespace vellumix {

namespace {

// A display id is an unsigned 32-bit number; anything else (a fraction, a
// negative number, one past 2^32 - 1) must not wrap into some other display.
std::optional<quint32> displayId(const QJsonValue& value) {
    const double number = value.toDouble();
    if (!value.isDouble() || number != std::floor(number) || number < 1 ||
        number > double(std::numeric_limits<quint32>::max())) {
        return std::nullopt;
    }
    return quint32(number);
}

} // namespace

CaptureRegion regionArgument(const QJsonObject& arguments, const QList<DisplayInfo>& displays) {
    const std::optional<quint32> id = displayId(arguments.value(QLatin1String("display")));
    const std::optional<DisplayInfo> display = id ? findDisplay(displays, *id) : std::nullopt;
    if (!display) {
        throw APIError(QStringLiteral("invalid_display"),
                       QStringLiteral("Use displays.list to choose a display"));
    }
    const QRectF rect = ImageAPI::rect(arguments.value(QLatin1String("rect")));
    const QSizeF size = display->size();
    if (rect.right() > size.width() || rect.bottom() > size.height()) {
        throw APIError(QStringLiteral("invalid_region"),
                       QStringLiteral("Region must fit in one display; units are logical points"));
    }
    return CaptureRegion{*id, rect, display->scale};
}

} // namespace vellumix
