#include "api/MarkReader.h"

#include "api/APIError.h"
#include "imaging/EditedImage.h"
#include "marks/ToolTraits.h"

#include <QJsonArray>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <cmath>

namespace vellumix::MarkReader {

namespace {

// Why a tool with a fixed point count needs that many, by its points.
constexpr struct {
    DrawingTool tool;
    const char* message;
} pointCountMessages[] = {
    {DrawingTool::curvedArrow, "curvedArrow requires [start,end,control] points"},
    {DrawingTool::callout, "callout requires [bubbleOrigin,target] points"},
};

[[noreturn]] void fail(const char* message) {
    throw APIError(QStringLiteral("invalid_arguments"), QString::fromLatin1(message));
}

bool inRange(double value, double low, double high) {
    return std::isfinite(value) && value >= low && value <= high;
}

DrawingTool readTool(const QJsonValue& value) {
    const auto tool = drawing_tool::fromRawValue(value.isString() ? value.toString() : QString());
    if (!tool || *tool == DrawingTool::select || *tool == DrawingTool::crop) {
        fail("Invalid tool or source-pixel points");
    }
    return *tool;
}

// Every way the points can be wrong gets the same message, so one pass
// checks shape, type and range together.
QVector<QPointF> readPoints(const QJsonValue& value, QSize bounds) {
    const char* message = "Invalid tool or source-pixel points";
    const QJsonArray array = value.toArray();
    if (!value.isArray() || array.isEmpty() || array.size() > maximumPoints) {
        fail(message);
    }
    QVector<QPointF> points;
    points.reserve(array.size());
    for (const QJsonValue& point : array) {
        const QJsonArray pair = point.toArray();
        if (pair.size() != 2 || !pair[0].isDouble() || !pair[1].isDouble() ||
            !inRange(pair[0].toDouble(), 0, bounds.width()) ||
            !inRange(pair[1].toDouble(), 0, bounds.height())) {
            fail(message);
        }
        points.append(QPointF(pair[0].toDouble(), pair[1].toDouble()));
    }
    return points;
}

void checkPointCount(DrawingTool tool, qsizetype count) {
    const int exact = ToolTraits::of(tool).exactPoints;
    if (exact == 0 || count == exact) {
        return;
    }
    for (const auto& rule : pointCountMessages) {
        if (rule.tool == tool) {
            fail(rule.message);
        }
    }
}

// The text as given, absent meaning empty; only tools that show it are limited.
QString readText(const QJsonObject& mark, DrawingTool tool) {
    const QJsonValue value = mark.value(QLatin1String("text"));
    if (mark.contains(QLatin1String("text")) && !value.isString()) {
        fail("text must be a string");
    }
    const QString text = value.toString();
    if (ToolTraits::of(tool).text && characterCount(text) > maximumTextLength) {
        fail("Text is limited to 200 characters");
    }
    return text;
}

QColor readColor(const QJsonValue& value) {
    const QJsonArray array = value.toArray();
    const bool numbers =
        value.isArray() &&
        std::all_of(array.begin(), array.end(), [](const QJsonValue& v) { return v.isDouble(); });
    if (!numbers) {
        return QColor::fromRgbF(1, 0, 0, 1);
    }
    if (array.size() != 3 || !std::all_of(array.begin(), array.end(), [](const QJsonValue& v) {
            return inRange(v.toDouble(), 0, 1);
        })) {
        fail("Invalid color or thickness");
    }
    return QColor::fromRgbF(static_cast<float>(array[0].toDouble()),
                            static_cast<float>(array[1].toDouble()),
                            static_cast<float>(array[2].toDouble()), 1);
}

// An absent key gives nothing; a present value must be a number in low...high.
std::optional<double> readBounded(const QJsonObject& mark, const QString& key, double low,
                                  double high, const char* message) {
    if (!mark.contains(key)) {
        return std::nullopt;
    }
    const QJsonValue value = mark.value(key);
    if (!value.isDouble() || !inRange(value.toDouble(), low, high)) {
        fail(message);
    }
    return value.toDouble();
}

QString stepNumber(const QVector<ImageMark>& accepted) {
    const auto steps = std::count_if(accepted.begin(), accepted.end(), [](const ImageMark& m) {
        return m.tool == DrawingTool::step;
    });
    return QString::number(steps + 1);
}

// Pixels under a pixelate mark are taken from the source with every earlier
// mark drawn, reduced once here, so later marks stay sharp on top of it.
void pixelate(ImageMark& mark, const QImage& source, const QVector<ImageMark>& accepted) {
    const QPointF p0 = mark.points[0];
    const QPointF p1 = mark.points[1];
    const double left = std::floor(std::min(p0.x(), p1.x()));
    const double top = std::floor(std::min(p0.y(), p1.y()));
    const double right = std::ceil(std::max(p0.x(), p1.x()));
    const double bottom = std::ceil(std::max(p0.y(), p1.y()));
    const QRectF area(left, top, right - left, bottom - top);
    const QImage covered = EditedImage::render(source, accepted, area);
    mark.bitmap = EditedImage::pixelated(covered, static_cast<int>(mark.thickness * 4));
    mark.points = {area.topLeft(), area.bottomRight()};
}

} // namespace

qsizetype characterCount(const QString& text) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    while (finder.toNextBoundary() != -1) {
        ++count;
    }
    return count;
}

ImageMark read(const QJsonObject& mark, const QImage& source, const QVector<ImageMark>& accepted) {
    const DrawingTool tool = readTool(mark.value(QLatin1String("tool")));
    QVector<QPointF> points = readPoints(mark.value(QLatin1String("points")), source.size());
    checkPointCount(tool, points.size());
    QString text = readText(mark, tool);
    if (points.size() == 1 && ToolTraits::of(tool).points != ToolPoints::one) {
        fail("Tool requires two points");
    }
    const QColor color = readColor(mark.value(QLatin1String("color")));
    const QJsonValue thicknessValue = mark.value(QLatin1String("thickness"));
    const double thickness =
        thicknessValue.isDouble() ? thicknessValue.toDouble() : defaultThickness;
    if (!std::isfinite(thickness) || thickness <= 0 || thickness > maximumThickness) {
        fail("Invalid color or thickness");
    }
    const auto fontSize = readBounded(mark, QStringLiteral("fontSize"), minimumFontSize,
                                      maximumFontSize, "fontSize must be 8...200 pixels");
    const auto cornerRadius =
        readBounded(mark, QStringLiteral("cornerRadius"), 0, maximumCornerRadius,
                    "cornerRadius must be 0...200 pixels");
    if (tool == DrawingTool::callout && text.trimmed().isEmpty()) {
        fail("callout text must not be empty");
    }
    if (tool == DrawingTool::step && text.isEmpty()) {
        text = stepNumber(accepted);
    }
    ImageMark result(tool, std::move(points), color, thickness, std::move(text));
    result.fontSize = fontSize;
    result.cornerRadius = cornerRadius.value_or(0);
    if (tool == DrawingTool::pixelate) {
        pixelate(result, source, accepted);
    }
    return result;
}

} // namespace vellumix::MarkReader
