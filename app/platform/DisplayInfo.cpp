#include "platform/DisplayInfo.h"

#include <cmath>

namespace vellumix {

QRect DisplayInfo::pixelRect() const {
    return QRect(pixelOrigin, QSize(int(std::round(frame.width() * scale)),
                                    int(std::round(frame.height() * scale))));
}

std::optional<DisplayInfo> findDisplay(const QList<DisplayInfo>& displays, quint32 id) {
    for (const DisplayInfo& display : displays) {
        if (display.id == id) {
            return display;
        }
    }
    return std::nullopt;
}

QRectF pixelRectToPoints(const QList<DisplayInfo>& displays, const QRect& pixels) {
    const DisplayInfo* best = nullptr;
    qint64 bestArea = 0;
    for (const DisplayInfo& display : displays) {
        const QRect common = display.pixelRect().intersected(pixels);
        const qint64 area = qint64(common.width()) * common.height();
        if (area > bestArea) {
            best = &display;
            bestArea = area;
        }
    }
    if (best == nullptr) {
        return QRectF(pixels);
    }
    const QPointF offset = QPointF(pixels.topLeft() - best->pixelOrigin) / best->scale;
    return QRectF(best->frame.topLeft() + offset, QSizeF(pixels.size()) / best->scale);
}

QRectF flippedFrame(const QRectF& frame, const QRectF& primary) {
    return QRectF(frame.x() - primary.x(), primary.bottom() - frame.bottom(), frame.width(),
                  frame.height());
}

} // namespace vellumix
