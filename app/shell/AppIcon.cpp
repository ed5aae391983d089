#include "shell/AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace vellumix {

namespace {

// Drawn on the SVG's 128-unit grid, scaled to `side` pixels.
QPixmap iconPixmap(int side) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(side / 128.0, side / 128.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1f, 0x5f, 0xd6));
    painter.drawRoundedRect(QRectF(8, 8, 112, 112), 24, 24);
    painter.setPen(QPen(Qt::white, 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    const QPointF corners[4][3] = {{{30, 50}, {30, 30}, {50, 30}},
                                   {{78, 30}, {98, 30}, {98, 50}},
                                   {{98, 78}, {98, 98}, {78, 98}},
                                   {{50, 98}, {30, 98}, {30, 78}}};
    for (const auto& corner : corners) {
        painter.drawPolyline(corner, 3);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xff, 0xd2, 0x3f));
    painter.drawEllipse(QPointF(64, 64), 10, 10);
    return pixmap;
}

} // namespace

QIcon appIcon() {
    QIcon icon;
    for (int side : {16, 22, 24, 32, 48, 64, 128, 256}) {
        icon.addPixmap(iconPixmap(side));
    }
    return icon;
}

} // namespace vellumix
