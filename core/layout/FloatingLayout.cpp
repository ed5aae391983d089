#include "layout/FloatingLayout.h"

#include <algorithm>
#include <cmath>

namespace vellumix::FloatingLayout {

namespace {

// The width the preview panel could take on each side of the selection.
struct Room {
    double left;
    double right;
};

Room roomBeside(const QRectF& selection, const QRectF& visible) {
    return {selection.left() - visible.left() - previewMargin,
            visible.right() - selection.right() - previewMargin};
}

double previewX(const QRectF& selection, const QRectF& visible, Room room, double width) {
    if (width <= room.right) {
        return selection.right() + previewMargin;
    }
    if (width <= room.left) {
        return selection.left() - previewMargin - width;
    }
    return room.left <= room.right ? visible.right() - width : visible.left();
}

double previewWidth(const QRectF& visible, Room room) {
    const double roomiest = std::max(room.right, room.left);
    return std::min(visible.width(),
                    std::min(std::max(roomiest, previewMinimumWidth), previewMaximumWidth));
}

} // namespace

double normalizedScale(double sourceScale) {
    return std::isnormal(sourceScale) && sourceScale > 0 ? sourceScale : 1;
}

QSizeF pinImageSize(QSizeF pixels, double sourceScale, QSizeF available) {
    const double scale = normalizedScale(sourceScale);
    const double width = pixels.width() / scale;
    const double height = pixels.height() / scale;
    const double fitWidth = std::max(available.width(), 1.0) / width;
    const double fitHeight = std::max(available.height(), 1.0) / height;
    const double factor = std::min({fitWidth, fitHeight, 1.0});
    return QSizeF(width * factor, height * factor);
}

QRectF previewFrame(const QRectF& selection, const QRectF& visible) {
    const Room room = roomBeside(selection, visible);
    const double width = previewWidth(visible, room);
    const double x = previewX(selection, visible, room, width);
    const double height = std::min(visible.height(), previewMaximumHeight);
    const double y = std::max(visible.top(), std::min(selection.top(), visible.bottom() - height));
    return QRectF(x, y, width, height);
}

QRectF croppedViewport(const QRectF& region, const QRectF& crop, double sourceScale) {
    const double scale = normalizedScale(sourceScale);
    const QRectF source = crop.normalized();
    const double width = std::min(source.width() / scale, region.width());
    const double height = std::min(source.height() / scale, region.height());
    const double ox = std::min(region.width() - width, std::max(source.left() / scale, 0.0));
    const double oy = std::min(region.height() - height, std::max(source.top() / scale, 0.0));
    return QRectF(region.left() + ox, region.top() + oy, width, height);
}

} // namespace vellumix::FloatingLayout
