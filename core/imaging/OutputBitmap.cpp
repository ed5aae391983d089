#include "imaging/OutputBitmap.h"

#include "imaging/LargeBuffer.h"

#include "imaging/DocumentError.h"

#include <QColorSpace>

namespace vellumix {

QImage outputBitmap(QSize size, const QColor& fill) {
    QImage bitmap = largeImage(size, QImage::Format_RGBA8888_Premultiplied);
    if (bitmap.isNull()) {
        throw DocumentError(DocumentError::Kind::render);
    }
    bitmap.setColorSpace(QColorSpace::SRgb);
    bitmap.fill(fill);
    return bitmap;
}

} // namespace vellumix
