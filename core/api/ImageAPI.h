#pragma once

#include <QImage>
#include <QJsonObject>
#include <QJsonValue>
#include <QRectF>
#include <QString>

// The JSON front door of the image core: validates arguments, loads the source
// within the pixel limits, turns JSON marks into ImageMarks, renders, encodes
// and writes. Caller-fixable problems are thrown as APIError; render failures
// (DocumentError) and write failures (FileError) pass through unchanged.
namespace vellumix::ImageAPI {

inline constexpr int maximumSide = 30000;
inline constexpr qint64 maximumPixels = 90'000'000;
inline constexpr qsizetype maximumMarks = 500;
inline constexpr double jpegQuality = 0.9;

// Annotates, crops and writes one image; returns {"format","height","path","width"}.
QJsonObject apply(const QJsonObject& args);
// args[key] when it is a string starting with "/"; no normalisation, no existence test.
QString path(const QJsonObject& args, const QString& key);
// The first image of the file, refused from its header size alone when it breaks
// the pixel limits. Orientation metadata is not applied.
QImage load(const QString& file);
// [x, y, width, height]; an absent value is QJsonValue::Undefined and is refused.
QRectF rect(const QJsonValue& value);
// Encodes the image as "format" (or the output's extension) and writes "output".
QJsonObject save(const QImage& image, const QJsonObject& args);

} // namespace vellumix::ImageAPI
