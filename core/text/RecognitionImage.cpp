#include "text/RecognitionImage.h"

#include "text/TextContrast.h"

#include <QPainter>

#include <algorithm>

namespace vellumix::RecognitionImage {

namespace {

QImage opaqueOnWhite(const QImage& source) {
    QImage flat(source.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, source);
    painter.end();
    return flat;
}

} // namespace

int upscaleFactor(QSize size, int requested) {
    for (int factor = std::max(1, requested); factor > 1; --factor) {
        const qint64 w = qint64(size.width()) * factor;
        const qint64 h = qint64(size.height()) * factor;
        if (w <= maxSide && h <= maxSide && w * h <= maxPixels) {
            return factor;
        }
    }
    return 1;
}

QImage prepare(const QImage& source, const RecognitionOptions& options) {
    const QImage flat = opaqueOnWhite(source);
    QImage grey = options.textContrast ? TextContrast::darkOnLight(flat)
                                       : flat.convertToFormat(QImage::Format_Grayscale8);
    const int factor = upscaleFactor(grey.size(), options.upscale);
    if (factor > 1) {
        grey = grey.scaled(grey.size() * factor, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    return grey;
}

} // namespace vellumix::RecognitionImage
