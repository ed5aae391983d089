#include "editor/CanvasLayers.h"

#include "editor/EditorDocument.h"

#include <QPainter>

namespace vellumix {

namespace {

// The painter set up as the export renderer sets up its own, so marks look
// the same on the canvas as in a saved file.
void beginImagePainting(QPainter& painter, const QTransform& transform, const QRectF& area) {
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    painter.setTransform(transform);
    painter.setClipRect(area);
}

} // namespace

QImage CanvasLayers::layer(const Key& key, const QColor& fill) const {
    QImage image(key.size * key.devicePixelRatio, QImage::Format_RGBA8888_Premultiplied);
    image.setDevicePixelRatio(key.devicePixelRatio);
    image.fill(fill);
    return image;
}

void CanvasLayers::prepare(const EditorDocument& document, const Key& key) {
    if (m_key == key) {
        return;
    }
    const QVector<ImageMark>& marks = document.state().marks;
    const QRectF area = document.visibleArea();
    m_below = layer(key, Qt::transparent);
    QPainter below(&m_below);
    beginImagePainting(below, key.transform, area);
    below.drawImage(QPointF(0, 0), document.source());
    for (qsizetype i = 0; i < key.split && i < marks.size(); ++i) {
        marks[i].draw(below);
    }
    below.end();
    m_above = QImage();
    if (key.split + 1 < marks.size()) {
        m_above = layer(key, Qt::transparent);
        QPainter above(&m_above);
        beginImagePainting(above, key.transform, area);
        for (qsizetype i = key.split + 1; i < marks.size(); ++i) {
            marks[i].draw(above);
        }
    }
    m_key = key;
}

void CanvasLayers::blit(QPainter& painter, const QImage& layer, const QRegion& region) {
    if (layer.isNull()) {
        return;
    }
    const qreal ratio = layer.devicePixelRatio();
    for (const QRect& rect : region) {
        const QRectF source(rect.x() * ratio, rect.y() * ratio, rect.width() * ratio,
                            rect.height() * ratio);
        painter.drawImage(QRectF(rect), layer, source);
    }
}

void CanvasLayers::paintBelow(QPainter& painter, const QRegion& region) const {
    blit(painter, m_below, region);
}

void CanvasLayers::paintAbove(QPainter& painter, const QRegion& region) const {
    blit(painter, m_above, region);
}

} // namespace vellumix
