#include "text/RecognitionImage.h"

#include "text/InkFrames.h"
#include "text/TextContrast.h"

#include <QPainter>

#include <algorithm>

namespace vellumix::RecognitionImage {

namespace {

QImage opaqueOnWhite(const QImage& source) {
    QImage flat(source.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    // Pixel for pixel: the painter would draw an image with a device pixel
    // ratio of 2 (a HiDPI capture) at half its size.
    QImage pixels = source;
    pixels.setDevicePixelRatio(1);
    QPainter painter(&flat);
    painter.drawImage(0, 0, pixels);
    painter.end();
    return flat;
}

// Large monospaced text leaves a gap between an underscore and the letters
// above it, and the engine reads that underscore as a space; spreading ink a
// pixel up and down closes the gap, as enlarging does for small text.
void spreadInkVertically(QImage& grey) {
    const QImage source = grey;
    for (int y = 0; y < grey.height(); ++y) {
        uchar* row = grey.scanLine(y);
        const uchar* above = source.constScanLine(std::max(0, y - 1));
        const uchar* below = source.constScanLine(std::min(grey.height() - 1, y + 1));
        for (int x = 0; x < grey.width(); ++x) {
            row[x] = std::min({row[x], above[x], below[x]});
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
    const QImage flat = opaqueOnWhite(source);
    TextContrast::Result contrast;
    if (options.textContrast) {
        contrast = TextContrast::darkOnLight(flat);
    } else {
        contrast.image = flat.convertToFormat(QImage::Format_Grayscale8);
    }
    // Frames and checkered fills are window content: a photo, which has no
    // text marks, keeps its grain.
    QImage grey =
        contrast.textHeight > 0 ? InkFrames::withoutFrames(contrast.image) : contrast.image;
    const bool large = contrast.smallTextHeight >= largeTextHeight;
    const int factor = upscaleFactor(grey.size(), large ? 1 : options.upscale);
    if (factor > 1) {
        grey = grey.scaled(grey.size() * factor, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    } else if (options.textContrast && large) {
        spreadInkVertically(grey);
    }
    return grey;
}

} // namespace vellumix::RecognitionImage
