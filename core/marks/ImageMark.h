#pragma once

#include "marks/DrawingTool.h"

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QVector>

#include <optional>

class QPainter;

namespace vellumix {

// One annotation as a plain value. Points are image pixels, origin top-left,
// y downward. QImage is implicitly shared, so copying a mark with a bitmap is
// cheap and a copy never sees changes made through another.
//
// Callout, text and step marks measure and draw text with Qt's font
// database, so their geometry and drawing need a QGuiApplication (the
// offscreen platform will do).
struct ImageMark {
    ImageMark(DrawingTool tool, QVector<QPointF> points, QColor color, double thickness,
              QString text)
        : tool(tool), points(std::move(points)), color(color), thickness(thickness),
          text(std::move(text)) {}

    DrawingTool tool;
    QVector<QPointF> points;
    QColor color;
    double thickness;
    std::optional<QImage> bitmap;
    double cornerRadius = 0;
    std::optional<double> fontSize;
    QString text;

    // Geometry (MarkGeometry.cpp).
    QRectF bounds() const;
    QRectF bubbleRect() const;
    ImageMark translated(double x, double y) const;
    bool hitTest(QPointF point, double tolerance) const;

    // Drawing onto a painter whose coordinates are image pixels (MarkRenderer.cpp).
    // The painter's state is the same after the call as before.
    void draw(QPainter& painter) const;
};

} // namespace vellumix
