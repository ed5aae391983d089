#include "selection/HintPanel.h"

#include <QPainter>

#include <algorithm>

namespace vellumix::hintpanel {

namespace {

constexpr int textSize = 13;
constexpr double lineHeight = 24;

void drawTextAt(QPainter& painter, QPointF topLeft, const QString& text) {
    painter.drawText(QRectF(topLeft, QSizeF(4000, 40)), Qt::AlignLeft | Qt::AlignTop, text);
}

void fillRounded(QPainter& painter, const QRectF& rect, double radius, double alpha) {
    QColor black(Qt::black);
    black.setAlphaF(float(alpha));
    painter.setPen(Qt::NoPen);
    painter.setBrush(black);
    painter.drawRoundedRect(rect, radius, radius);
}

} // namespace

QFont font(int size) {
    QFont font;
    font.setPixelSize(size);
    font.setWeight(QFont::Medium);
    return font;
}

QRectF panelRect(QSizeF bounds) {
    return QRectF(24, std::max(bounds.height() - 143, 12.0), std::min(bounds.width() - 48, 430.0),
                  123);
}

QRectF noteRect(QSizeF bounds, bool isDefault) {
    const double y = isDefault ? 24 : panelRect(bounds).y() - 28;
    return QRectF(24, y, bounds.width() - 24, lineHeight);
}

QRectF labelRect(QSizeF bounds) {
    return QRectF(24, 52, std::min(bounds.width() - 48, 560.0), 27);
}

void paintPanel(QPainter& painter, QSizeF bounds, bool hasLastRegion) {
    const QRectF panel = panelRect(bounds);
    fillRounded(painter, panel, 12, 0.84);
    painter.setFont(font(textSize));
    for (int i = 0; i < lines.size(); ++i) {
        const bool grayed = i == lines.size() - 1 && !hasLastRegion;
        painter.setPen(grayed ? QColor(142, 142, 147) : QColor(Qt::white));
        drawTextAt(painter, QPointF(panel.x() + 16, panel.y() + 13 + lineHeight * i), lines[i]);
    }
}

void paintNote(QPainter& painter, QSizeF bounds, const QString& note) {
    painter.setFont(font(textSize));
    painter.setPen(Qt::white);
    drawTextAt(painter, noteRect(bounds, note.isEmpty()).topLeft(),
               note.isEmpty() ? defaultNote : note);
}

void paintLabel(QPainter& painter, QSizeF bounds, const QString& name) {
    const QRectF box = labelRect(bounds);
    fillRounded(painter, box, 6, 0.85);
    painter.setFont(font(textSize));
    painter.setPen(Qt::white);
    drawTextAt(painter, box.topLeft() + QPointF(9, 5), name.left(labelCharacters));
}

} // namespace vellumix::hintpanel
