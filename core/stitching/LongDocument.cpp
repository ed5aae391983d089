#include "stitching/LongDocument.h"

#include "imaging/OutputBitmap.h"
#include "imaging/PngCodec.h"

#include <QColorSpace>
#include <QPainter>

#include <cmath>
#include <new>

namespace vellumix {
namespace {

[[noreturn]] void fail(DocumentError::Kind kind) {
    throw DocumentError(kind);
}

// The bottom `rows` rows of `frame` in the strip pixel format. A frame that is
// already in that format is only viewed, not copied, before encoding.
QImage bottomStrip(const QImage& frame, int rows) {
    const int top = frame.height() - rows;
    const QImage view(frame.constScanLine(top), frame.width(), rows, frame.bytesPerLine(),
                      frame.format());
    QImage strip = view.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    if (strip.isNull()) {
        fail(DocumentError::Kind::render);
    }
    const QColorSpace space = frame.colorSpace();
    if (space.isValid() && space != QColorSpace::SRgb) {
        strip.setColorSpace(space);
        strip.convertToColorSpace(QColorSpace::SRgb);
    }
    return strip;
}

} // namespace

void LongDocument::append(const QImage& frame, std::optional<int64_t> rows) {
    const int64_t count = rows.value_or(frame.height());
    if (frame.isNull() || count < 1 || count > frame.height()) {
        fail(DocumentError::Kind::invalidFrame);
    }
    if (!m_chunks.isEmpty() && frame.width() != m_width) {
        fail(DocumentError::Kind::invalidFrame);
    }
    const int64_t newHeight = m_height + count;
    if (!fits(frame.width(), newHeight)) {
        fail(DocumentError::Kind::limit);
    }
    QByteArray png = encodePng(bottomStrip(frame, int(count)));
    if (m_compressedBytes + png.size() > m_storageLimit) {
        fail(DocumentError::Kind::storageLimit);
    }
    const qsizetype size = png.size();
    try {
        m_chunks.append(Chunk{std::move(png), count});
    } catch (const std::bad_alloc&) {
        fail(DocumentError::Kind::render);
    }
    m_compressedBytes += size;
    m_height = newHeight;
    m_width = frame.width();
}

void LongDocument::removeBottomRows(int64_t rows) {
    if (rows < 1 || rows >= m_height) {
        fail(DocumentError::Kind::invalidFrame);
    }
    QVector<Chunk> chunks = m_chunks;
    int64_t bytes = m_compressedBytes;
    int64_t remaining = rows;
    while (remaining >= chunks.last().height) {
        remaining -= chunks.last().height;
        bytes -= chunks.last().data.size();
        chunks.removeLast();
    }
    if (remaining > 0) {
        Chunk& last = chunks.last();
        const QImage strip = decodePng(last.data);
        last.height -= remaining;
        QByteArray png = encodePng(strip.copy(0, 0, strip.width(), int(last.height)));
        bytes += png.size() - last.data.size();
        last.data = std::move(png);
    }
    m_chunks = std::move(chunks);
    m_compressedBytes = bytes;
    m_height -= rows;
}

void LongDocument::forEachStrip(const std::function<void(const QImage&)>& visit) const {
    for (const Chunk& chunk : m_chunks) {
        visit(decodePng(chunk.data));
    }
}

QImage LongDocument::image(std::optional<int> maximumWidth) const {
    if (m_width < 1) {
        fail(DocumentError::Kind::invalidFrame);
    }
    const int64_t targetWidth = std::min<int64_t>(maximumWidth.value_or(int(m_width)), m_width);
    const double scale = double(targetWidth) / double(m_width);
    const int64_t targetHeight = std::max<int64_t>(1, int64_t(std::ceil(scale * double(m_height))));
    if (targetWidth < 1) {
        fail(DocumentError::Kind::render);
    }
    QImage target = outputBitmap(QSize(int(targetWidth), int(targetHeight)));
    QPainter painter(&target);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.scale(scale, scale);
    int64_t top = 0;
    for (const Chunk& chunk : m_chunks) {
        // Each strip is decoded, drawn and freed before the next, so the peak
        // is the target bitmap plus one strip.
        painter.drawImage(QRectF(0, double(top), double(m_width), double(chunk.height)),
                          decodePng(chunk.data));
        top += chunk.height;
    }
    painter.end();
    return target;
}

} // namespace vellumix
