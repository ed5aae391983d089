#pragma once

#include "marks/ImageMark.h"

#include <QImage>
#include <QRectF>
#include <QRegion>
#include <QTransform>

#include <optional>

class QPainter;

namespace vellumix {

class EditorDocument;

// The picture of a canvas at the view's resolution, kept between frames so
// that dragging one mark repaints only that mark: the source with every mark
// beneath the live one, and the marks above it on a transparent layer. The
// live mark (the selected one, being moved or not) is drawn over the first
// on every paint; a new mark being drawn has every mark beneath it.
class CanvasLayers final {
public:
    struct Key {
        quint64 generation = 0;
        QSize size;
        qreal devicePixelRatio = 1;
        QTransform transform;
        qsizetype split = 0;
        friend bool operator==(const Key&, const Key&) = default;
    };

    // Makes the layers for `key` unless they are current: `split` is the
    // index of the live mark (the number of marks when there is none) and
    // `transform` maps image pixels to view points. When only the split
    // moved, the lower layer is redone only where the marks between the old
    // and the new split lie.
    void prepare(const EditorDocument& document, const Key& key);
    // Copy the layers' pixels under `region` (view points) onto `painter`.
    void paintBelow(QPainter& painter, const QRegion& region) const;
    void paintAbove(QPainter& painter, const QRegion& region) const;

    // Everything a mark may ink, in image pixels: its bounds widened for
    // arrow heads, round caps and anti-aliasing.
    static QRectF inkBounds(const ImageMark& mark);

private:
    void renderBelow(const EditorDocument& document, const Key& key, const QRegion& region);
    void raiseSplit(const EditorDocument& document, const Key& key, qsizetype from);
    void renderAbove(const EditorDocument& document, const Key& key);
    static void blit(QPainter& painter, const QImage& layer, const QRegion& region);

    std::optional<Key> m_key;
    QImage m_below;
    QImage m_above;
};

} // namespace vellumix
