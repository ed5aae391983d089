#include "selection/OverlayLayout.h"

#include "selection/HintPanel.h"

namespace vellumix {

namespace {

// Antialiased edges reach a little past a shape's rectangle.
constexpr int edge = 2;
// A highlight's outline lies within this far inside its edge.
constexpr int outline = 4;

QRect covering(const QRectF& rect) {
    return rect.toAlignedRect().adjusted(-edge, -edge, edge, edge);
}

QRegion areaOf(const QList<QRectF>& rects) {
    QRegion area;
    for (const QRectF& rect : rects) {
        area += rect.toAlignedRect();
    }
    return area;
}

QRegion outlineOf(const QRectF& rect) {
    return QRegion(covering(rect)) -
           QRegion(rect.toAlignedRect().adjusted(outline, outline, -outline, -outline));
}

// Where the highlights differ: what turned dimmed or undimmed, and the
// outlines of the highlights that are not in both.
QRegion highlightChange(const QList<QRectF>& before, const QList<QRectF>& after) {
    QRegion change = areaOf(before) ^ areaOf(after);
    for (const QRectF& rect : before) {
        if (!after.contains(rect)) {
            change += outlineOf(rect);
        }
    }
    for (const QRectF& rect : after) {
        if (!before.contains(rect)) {
            change += outlineOf(rect);
        }
    }
    return change;
}

} // namespace

QRegion changedArea(const OverlayLayout& before, const OverlayLayout& after, QSizeF bounds) {
    QRegion change;
    if (before.highlights != after.highlights) {
        change += highlightChange(before.highlights, after.highlights);
    }
    if (before.label != after.label) {
        change += covering(hintpanel::labelRect(bounds));
    }
    if (before.loupe != after.loupe) {
        for (const std::optional<Loupe>& loupe : {before.loupe, after.loupe}) {
            if (loupe) {
                change += covering(loupe->box);
            }
        }
    }
    return change;
}

} // namespace vellumix
