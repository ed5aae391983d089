#include "imaging/CaptureSelectionImage.h"

#include "imaging/DocumentError.h"
#include "imaging/OutputBitmap.h"

#include <QColorSpace>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vellumix::CaptureSelectionImage {

namespace {

// Images without a colour space are taken to be sRGB already.
QImage inSRGB(const QImage& image) {
    const QColorSpace space = image.colorSpace();
    if (!space.isValid() || space == QColorSpace(QColorSpace::SRgb)) {
        return image;
    }
    return image.convertedToColorSpace(QColorSpace::SRgb);
}

// Undoes premultiplication in integers so that exact halves round away from
// zero; floating point would turn some of them into near-halves.
int unpremultiplied(int stored, int alpha) {
    if (alpha == 0) {
        return 0;
    }
    return std::min(255, (2 * stored * 255 + alpha) / (2 * alpha));
}

bool usable(const CompositionPart& part) {
    const QRectF& r = part.rect;
    return !part.image.isNull() && std::isfinite(r.x()) && std::isfinite(r.y()) &&
           std::isfinite(r.width()) && std::isfinite(r.height());
}

[[noreturn]] void fail() {
    throw DocumentError(DocumentError::Kind::render);
}

// The smallest rectangle holding every part, including parts of zero size.
QRectF unionOf(const QVector<CompositionPart>& parts) {
    QRectF first = parts.front().rect.normalized();
    double left = first.left(), top = first.top(), right = first.right(), bottom = first.bottom();
    for (const CompositionPart& part : parts) {
        const QRectF r = part.rect.normalized();
        left = std::min(left, r.left());
        top = std::min(top, r.top());
        right = std::max(right, r.right());
        bottom = std::max(bottom, r.bottom());
    }
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

QSize outputSize(const QRectF& bounds, double scale) {
    const double width = std::ceil(bounds.width() * scale);
    const double height = std::ceil(bounds.height() * scale);
    if (!std::isfinite(width) || !std::isfinite(height) || width <= 0 || height <= 0 ||
        width > maximumSide || height > maximumSide || width * height > maximumPixels) {
        fail();
    }
    return QSize(int(width), int(height));
}

// The part's place in the picture. Rows are measured up from the union's
// lower edge, so when the height was rounded up the spare row is at the top.
QRectF target(const QRectF& rect, const QRectF& bounds, double scale, int outputHeight) {
    const QRectF r = rect.normalized();
    return QRectF((r.left() - bounds.left()) * scale,
                  outputHeight - (bounds.bottom() - r.top()) * scale, r.width() * scale,
                  r.height() * scale);
}

} // namespace

std::optional<QString> hex(const QImage& image, int x, int y) {
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) {
        return std::nullopt;
    }
    const QImage pixel =
        inSRGB(image.copy(x, y, 1, 1)).convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    if (pixel.isNull()) {
        return std::nullopt;
    }
    const uchar* rgba = pixel.constScanLine(0);
    const int alpha = rgba[3];
    return QString::asprintf("#%02X%02X%02X", unpremultiplied(rgba[0], alpha),
                             unpremultiplied(rgba[1], alpha), unpremultiplied(rgba[2], alpha));
}

QImage compose(const QVector<CompositionPart>& parts, double scale) {
    if (parts.isEmpty() || !std::isfinite(scale) || scale <= 0) {
        fail();
    }
    if (!std::all_of(parts.begin(), parts.end(), usable)) {
        fail();
    }
    const QRectF bounds = unionOf(parts);
    const QSize size = outputSize(bounds, scale);
    QImage picture = outputBitmap(size);
    QPainter painter;
    if (!painter.begin(&picture)) {
        fail();
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const CompositionPart& part : parts) {
        painter.drawImage(target(part.rect, bounds, scale, size.height()), inSRGB(part.image));
    }
    painter.end();
    return picture;
}

} // namespace vellumix::CaptureSelectionImage
