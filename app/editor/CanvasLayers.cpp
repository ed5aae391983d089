#include "editor/CanvasLayers.h"

#include "editor/EditorDocument.h"

#include <QPainter>

#include <algorithm>

namespace vellumix {

namespace {

// Arrow heads, round caps and anti-aliasing reach past a mark's bounds by
// about this much per unit of thickness, and never less than the floor.
constexpr double inkReachPerThickness = 4.5;
constexpr double inkReachFloor = 14;

// The painter set up as the export renderer sets up its own, so marks look
// the same on the canvas as in a saved file.
void beginImagePainting(QPainter& painter, const QTransform& transform, const QRectF& area) {
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    painter.setTransform(transform);
    painter.setClipRect(area, Qt::IntersectClip);
}

QImage makeLayer(const CanvasLayers::Key& key) {
    QImage image(key.size * key.devicePixelRatio, QImage::Format_RGBA8888_Premultiplied);
    image.setDevicePixelRatio(key.devicePixelRatio);
    image.fill(Qt::transparent);
    return image;
}

bool sameView(const CanvasLayers::Key& a, const CanvasLayers::Key& b) {
    return a.generation == b.generation && a.size == b.size &&
           a.devicePixelRatio == b.devicePixelRatio && a.transform == b.transform;
}

} // namespace

QRectF CanvasLayers::inkBounds(const ImageMark& mark) {
    const double ink = std::max(mark.thickness * inkReachPerThickness, inkReachFloor);
    return mark.bounds().adjusted(-ink, -ink, ink, ink);
}

void CanvasLayers::prepare(const EditorDocument& document, const Key& key) {
    if (m_key == key) {
        return;
    }
    const qsizetype count = document.state().marks.size();
    if (m_key && sameView(*m_key, key) && m_key->split != key.split) {
        const qsizetype from = std::min(m_key->split, count);
        if (key.split > from) {
            raiseSplit(document, key, from);
        } else {
            // Marks from the new split on leave the lower layer; only where
            // they lie does it change.
            QRegion changed;
            for (qsizetype i = key.split; i < from; ++i) {
                changed +=
                    key.transform.mapRect(inkBounds(document.state().marks[i])).toAlignedRect();
            }
            renderBelow(document, key, changed);
        }
    } else {
        m_below = makeLayer(key);
        renderBelow(document, key, QRegion(QRect(QPoint(), key.size)));
    }
    renderAbove(document, key);
    m_key = key;
}

void CanvasLayers::renderBelow(const EditorDocument& document, const Key& key,
                               const QRegion& region) {
    QPainter painter(&m_below);
    painter.setClipRegion(region);
    beginImagePainting(painter, key.transform, document.visibleArea());
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPointF(0, 0), document.source());
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QRectF reach = key.transform.inverted().mapRect(QRectF(region.boundingRect()));
    const QVector<ImageMark>& marks = document.state().marks;
    for (qsizetype i = 0; i < key.split && i < marks.size(); ++i) {
        if (inkBounds(marks[i]).intersects(reach)) {
            marks[i].draw(painter);
        }
    }
}

void CanvasLayers::raiseSplit(const EditorDocument& document, const Key& key, qsizetype from) {
    QPainter painter(&m_below);
    beginImagePainting(painter, key.transform, document.visibleArea());
    const QVector<ImageMark>& marks = document.state().marks;
    for (qsizetype i = from; i < key.split && i < marks.size(); ++i) {
        marks[i].draw(painter);
    }
}

void CanvasLayers::renderAbove(const EditorDocument& document, const Key& key) {
    const QVector<ImageMark>& marks = document.state().marks;
    m_above = QImage();
    if (key.split + 1 >= marks.size()) {
        return;
    }
    m_above = makeLayer(key);
    QPainter painter(&m_above);
    beginImagePainting(painter, key.transform, document.visibleArea());
    for (qsizetype i = key.split + 1; i < marks.size(); ++i) {
        marks[i].draw(painter);
    }
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
