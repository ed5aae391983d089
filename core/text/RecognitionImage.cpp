#include "text/RecognitionImage.h"

#include <QPainter>

#include <algorithm>

namespace vellumix::RecognitionImage {

namespace {

// The side of the square over which the background brightness is averaged: a
// few text lines tall, so that text never outweighs the background under it.
constexpr int kAveragingBlock = 24;

QImage greyOnWhite(const QImage& source) {
    QImage flat(source.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, source);
    painter.end();
    return flat.convertToFormat(QImage::Format_Grayscale8);
}

// The engine's binarisation expects dark text on a light page; a dark sidebar,
// a dark theme or a coloured button is inverted where its surroundings are
// dark on average, so each keeps its text and only changes polarity.
void invertDarkAreas(QImage& grey) {
    const int w = grey.width();
    const int h = grey.height();
    const QImage background =
        grey.scaled(std::max(1, w / kAveragingBlock), std::max(1, h / kAveragingBlock),
                    Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    for (int y = 0; y < h; ++y) {
        uchar* row = grey.scanLine(y);
        const uchar* around = background.constScanLine(y);
        for (int x = 0; x < w; ++x) {
            if (around[x] < 128) {
                row[x] = uchar(255 - row[x]);
            }
        }
    }
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
    QImage grey = greyOnWhite(source);
    if (options.invertDarkAreas) {
        invertDarkAreas(grey);
    }
    const int factor = upscaleFactor(grey.size(), options.upscale);
    if (factor > 1) {
        grey = grey.scaled(grey.size() * factor, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    return grey;
}

} // namespace vellumix::RecognitionImage
