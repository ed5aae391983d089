#pragma once

#include <QImage>
#include <QRectF>
#include <QString>

#include <optional>

class QPainter;

namespace vellumix {

// The magnifier beside the pointer: the 11 × 11 device pixels around it,
// enlarged without smoothing, the pointer's pixel outlined, and its colour as
// hex text. Geometry in the view's points.
struct Loupe {
    QRectF box;
    QPoint pixel; // the pointer's device pixel
    QRect source; // the enlarged pixels, clipped to the image
    QString hex;

    static constexpr QSizeF boxSize{130, 128};
    static constexpr int span = 11;
    static constexpr double zoomSide = 88;

    // The loupe for `pointer` over `image` (device pixels, `scale` per point)
    // in a view of `bounds`, kept above `panelTop`; none when the pointer is
    // outside the view or the image has no colour there.
    static std::optional<Loupe> at(QPointF pointer, QSizeF bounds, double panelTop,
                                   const QImage& image, double scale);

    // `image` holds the same pixels as the one the loupe was made for, in
    // any format.
    void paint(QPainter& painter, const QImage& image) const;

    friend bool operator==(const Loupe&, const Loupe&) = default;
};

} // namespace vellumix
