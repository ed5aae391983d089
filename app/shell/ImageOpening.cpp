#include "shell/ImageOpening.h"

#include <QColorSpace>
#include <QImageReader>

namespace vellumix::imageopening {

namespace {

// Sized for the largest image within the limits at 16 bits a channel, the
// widest form Qt decodes to; the header check keeps every file below it.
constexpr int allocationLimitMegabytes = int(maximumPixels * 8 / (1024 * 1024)) + 1;

} // namespace

bool withinLimits(QSize size) {
    return size.width() >= 1 && size.height() >= 1 && size.width() <= maximumSide &&
           size.height() <= maximumSide && qint64(size.width()) * size.height() <= maximumPixels;
}

std::optional<QImage> readFile(const QString& path) {
    QImageReader::setAllocationLimit(allocationLimitMegabytes);
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    const QByteArray format = reader.format();
    if ((format != "png" && format != "jpeg") || !withinLimits(reader.size())) {
        return std::nullopt;
    }
    QImage image = reader.read();
    if (image.isNull() || !withinLimits(image.size())) {
        return std::nullopt;
    }
    if (image.colorSpace().isValid() && image.colorSpace() != QColorSpace::SRgb) {
        image.convertToColorSpace(QColorSpace::SRgb);
    }
    image.convertTo(QImage::Format_RGBA8888_Premultiplied);
    image.setColorSpace(QColorSpace::SRgb);
    return image;
}

} // namespace vellumix::imageopening
