#pragma once

#include <QImage>
#include <QWidget>

namespace vellumix {

// The image part of a pin window. The image keeps its aspect ratio inside a
// frame as tall as the area whose width grows with the window: at the
// window's first width the image has its natural size. Dragging the area
// moves the window.
class PinImageArea final : public QWidget {
    Q_OBJECT
public:
    PinImageArea(QImage image, QSizeF initialSize, QWidget* parent = nullptr);

    // Where the image is drawn in an area of `area` points.
    static QRectF imageRect(QSizeF area, QSizeF initialSize, QSizeF imageSize);

    static constexpr double minimumWidth = 220;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage m_image;
    QSizeF m_initialSize;
};

} // namespace vellumix
