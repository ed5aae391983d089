#pragma once

#include <QList>
#include <QPoint>
#include <QRectF>
#include <QString>

#include <optional>

namespace vellumix {

// One attached display as the app sees it. Geometry is in global logical
// points with the origin at the primary display's top-left corner and y
// growing downward, except `bottomLeftFrame`, which is the same frame with the
// origin at the primary display's bottom-left corner and y growing upward, for
// callers that report that convention.
struct DisplayInfo {
    quint32 id = 0; // stable across restarts: derived from `name`, never 0
    QString name;
    QRectF frame;
    QRectF visibleFrame; // the frame less panels and docks
    QRectF bottomLeftFrame;
    double scale = 1.0; // device pixels per point
    // The display's top-left corner in the screen's device pixels, where
    // captures read from; with mixed scales this differs from `frame`.
    QPoint pixelOrigin;

    QSizeF size() const { return frame.size(); }
    // The display's device-pixel rectangle on the whole screen.
    QRect pixelRect() const;
};

std::optional<DisplayInfo> findDisplay(const QList<DisplayInfo>& displays, quint32 id);

// Maps a rectangle of the whole screen's device pixels to global points through
// the display that holds most of it; unchanged when it touches no display.
QRectF pixelRectToPoints(const QList<DisplayInfo>& displays, const QRect& pixels);

// Bottom-left-origin frame of `frame` for a primary display whose top-left
// frame is `primary`.
QRectF flippedFrame(const QRectF& frame, const QRectF& primary);

} // namespace vellumix
