#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

// Images the user opens into the editor from files and the clipboard.
namespace vellumix::imageopening {

inline constexpr int maximumSide = 30000;
inline constexpr qint64 maximumPixels = 90'000'000;

inline const QString unreadableMessage = QStringLiteral(
    "Could not open this image. Choose a readable PNG or JPEG up to 90 megapixels and 30,000 "
    "pixels per side.");
inline const QString tooLargeMessage = QStringLiteral("This image is too large to edit.");

bool withinLimits(QSize size);

// Reads a PNG or JPEG file, judged by its content rather than its name,
// upright (stored orientation applied), as premultiplied RGBA in sRGB. No
// value when the file is unreadable, of another format, outside the limits
// (checked on the header, before any pixel is decoded) or undecodable.
std::optional<QImage> readFile(const QString& path);

} // namespace vellumix::imageopening
