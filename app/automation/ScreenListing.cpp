#include "automation/ScreenListing.h"

#include <QJsonObject>

namespace vellumix::ScreenListing {

namespace {

QJsonArray frameArray(const QRectF& frame) {
    return {frame.x(), frame.y(), frame.width(), frame.height()};
}

double overlapArea(const QRectF& a, const QRectF& b) {
    const QRectF overlap = a.intersected(b);
    return overlap.isEmpty() ? 0 : overlap.width() * overlap.height();
}

// The display with the largest share of `frame`, the earlier one on a tie;
// the only display even without a share.
const DisplayInfo* holdingDisplay(const QRectF& frame, const QList<DisplayInfo>& displays) {
    const DisplayInfo* best = nullptr;
    double bestArea = -1;
    for (const DisplayInfo& display : displays) {
        const double area = overlapArea(frame, display.frame);
        if (area > bestArea) {
            best = &display;
            bestArea = area;
        }
    }
    return best;
}

} // namespace

QJsonArray displays(const QList<DisplayInfo>& displays) {
    QJsonArray list;
    for (const DisplayInfo& display : displays) {
        list.append(
            QJsonObject{{QStringLiteral("id"), qint64(display.id)},
                        {QStringLiteral("width"), display.frame.width()},
                        {QStringLiteral("height"), display.frame.height()},
                        {QStringLiteral("scale"), display.scale},
                        {QStringLiteral("appKitFrame"), frameArray(display.bottomLeftFrame)}});
    }
    return list;
}

QJsonArray windows(const QList<WindowInfo>& windows, const QList<DisplayInfo>& displays,
                   const QString& titleFilter) {
    QJsonArray list;
    for (const WindowInfo& window : windows) {
        if (!window.title.contains(titleFilter, Qt::CaseSensitive)) {
            continue;
        }
        const DisplayInfo* display = holdingDisplay(window.frame, displays);
        const QRectF displayFrame = display != nullptr ? display->frame : QRectF();
        list.append(
            QJsonObject{{QStringLiteral("id"), qint64(window.id)},
                        {QStringLiteral("title"), window.title},
                        {QStringLiteral("app"), window.appName},
                        {QStringLiteral("display"), qint64(display != nullptr ? display->id : 0)},
                        {QStringLiteral("displayFrame"), frameArray(displayFrame)},
                        {QStringLiteral("rect"),
                         frameArray(window.frame.translated(-displayFrame.topLeft()))}});
    }
    return list;
}

} // namespace vellumix::ScreenListing
