#include "imaging/EditedImage.h"

#include "imaging/DocumentError.h"
#include "imaging/OutputBitmap.h"
#include "imaging/PngCodec.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageWriter>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vellumix::EditedImage {
namespace {

[[noreturn]] void fail() {
    throw DocumentError(DocumentError::Kind::render);
}

// The requested area widened outward to whole pixels (floor of the near
// edges, ceiling of the far ones) and clipped to the source. Computed in
// doubles so far-away or non-finite crops cannot overflow.
QRect clippedArea(const QRectF& requested, QSize bounds) {
    for (double value : {requested.x(), requested.y(), requested.width(), requested.height()}) {
        if (!std::isfinite(value)) {
            fail();
        }
    }
    const QRectF area = requested.normalized();
    const double left = std::max(0.0, std::floor(area.left()));
    const double top = std::max(0.0, std::floor(area.top()));
    const double right = std::min(double(bounds.width()), std::ceil(area.right()));
    const double bottom = std::min(double(bounds.height()), std::ceil(area.bottom()));
    if (!area.isValid() || !(left < right) || !(top < bottom)) {
        fail();
    }
    return QRect(int(left), int(top), int(right - left), int(bottom - top));
}

// Draws the source upright and unscaled, in source coordinates. A source in
// another colour space is matched to sRGB over the visible area only.
void drawSource(QPainter& painter, const QImage& source, const QRect& area) {
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QColorSpace space = source.colorSpace();
    if (space.isValid() && space != QColorSpace::SRgb) {
        QImage visible = source.copy(area);
        visible.convertToColorSpace(QColorSpace::SRgb);
        painter.drawImage(area.topLeft(), visible);
    } else {
        painter.drawImage(QPoint(0, 0), source);
    }
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

// The JPEG writer always records a density in dots per inch. The file claims
// no resolution instead: JFIF's "units 0" with a 1:1 pixel aspect.
void clearJfifDensity(QByteArray& jpeg) {
    static const QByteArray jfif("JFIF\0", 5);
    constexpr qsizetype units = 13;
    if (jpeg.size() < units + 5 || jpeg.mid(6, 5) != jfif) {
        fail();
    }
    const char noDensity[] = {0, 0, 1, 0, 1};
    jpeg.replace(units, 5, noDensity, 5);
}

} // namespace

QImage render(const QImage& source, const QVector<ImageMark>& marks, std::optional<QRectF> crop) {
    if (source.isNull()) {
        fail();
    }
    const QRect area = clippedArea(crop.value_or(QRectF(source.rect())), source.size());
    QImage output = outputBitmap(area.size());
    QPainter painter(&output);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.translate(-area.x(), -area.y());
    drawSource(painter, source, area);
    for (const ImageMark& mark : marks) {
        mark.draw(painter);
    }
    painter.end();
    return output;
}

QImage pixelated(const QImage& image, int blockSize) {
    if (image.isNull()) {
        fail();
    }
    const int64_t block = std::max(blockSize, 2);
    const int width = int(std::max<int64_t>(1, (image.width() + block - 1) / block));
    const int height = int(std::max<int64_t>(1, (image.height() + block - 1) / block));
    // Qt's smooth downscale averages every source pixel of a block.
    QImage reduced = image.convertToFormat(QImage::Format_RGBA8888_Premultiplied)
                         .scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                         .convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    if (reduced.isNull()) {
        fail();
    }
    reduced.setColorSpace(QColorSpace::SRgb);
    return reduced;
}

QByteArray jpeg(const QImage& image, double quality) {
    if (image.isNull() || std::isnan(quality)) {
        fail();
    }
    QImage flattened(image.size(), QImage::Format_RGB32);
    if (flattened.isNull()) {
        fail();
    }
    flattened.fill(Qt::white);
    QPainter painter(&flattened);
    painter.drawImage(QPoint(0, 0), image);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(int(std::lround(std::clamp(quality, 0.0, 1.0) * 100)));
    if (!writer.write(flattened)) {
        fail();
    }
    clearJfifDensity(bytes);
    return bytes;
}

QByteArray png(const QImage& image) {
    return encodePng(image);
}

} // namespace vellumix::EditedImage
