#include "UiScene.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace vellumix::bench {

namespace {

const char* const rows[] = {"Inbox",   "Drafts",   "Sent",   "Archive", "Projects",
                            "Reports", "Invoices", "Travel", "Photos",  "Music"};
const char typed[] = "Meeting notes: move the launch to Thursday and share the draft.";

void drawPointer(QPainter& painter, QPointF at) {
    QPainterPath arrow;
    arrow.moveTo(at);
    arrow.lineTo(at + QPointF(0, 18));
    arrow.lineTo(at + QPointF(5, 13));
    arrow.lineTo(at + QPointF(12, 13));
    arrow.closeSubpath();
    painter.setPen(QPen(Qt::white, 1.5));
    painter.setBrush(Qt::black);
    painter.drawPath(arrow);
}

} // namespace

QImage uiScene(QSize size, int index, int fps) {
    const double t = double(index) / fps;
    QImage image(size, QImage::Format_RGBA8888_Premultiplied);
    image.fill(QColor(0x2b, 0x3a, 0x55));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF window(40, 30, size.width() - 80, size.height() - 60);
    painter.fillRect(window, QColor(0xf4, 0xf5, 0xf7));
    painter.fillRect(QRectF(window.topLeft(), QSizeF(window.width(), 32)),
                     QColor(0xdd, 0xe1, 0xe8));
    painter.setPen(Qt::black);
    painter.drawText(window.adjusted(12, 8, 0, 0), "Mail — Vellumix bench");
    const QRectF sidebar(window.left(), window.top() + 32, 180, window.height() - 32);
    painter.fillRect(sidebar, QColor(0xe6, 0xea, 0xf0));
    // The list scrolls in the second half, one row a second.
    const int scrolled = t > 5 ? int((t - 5) * 28) : 0;
    painter.save();
    painter.setClipRect(sidebar);
    for (int i = 0; i < 30; ++i) {
        const QRectF row(sidebar.left(), sidebar.top() + 8 + i * 28 - scrolled, sidebar.width(),
                         28);
        if (i == int(t) % 10) {
            painter.fillRect(row, QColor(0x3b, 0x82, 0xf6));
        }
        painter.setPen(i == int(t) % 10 ? Qt::white : QColor(0x22, 0x22, 0x22));
        painter.drawText(row.adjusted(14, 6, 0, 0), rows[i % 10]);
    }
    painter.restore();
    const QRectF field(sidebar.right() + 20, sidebar.top() + 20,
                       window.right() - sidebar.right() - 40, 34);
    painter.setPen(QColor(0x9a, 0xa3, 0xb2));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(field, 4, 4);
    const int letters = std::min<int>(sizeof typed - 1, int(t * 9));
    painter.setPen(Qt::black);
    painter.drawText(field.adjusted(8, 9, -8, 0), QString::fromLatin1(typed, letters));
    const QRectF progress(field.left(), field.bottom() + 30, field.width(), 12);
    painter.fillRect(progress, QColor(0xd8, 0xdc, 0xe3));
    painter.fillRect(
        QRectF(progress.topLeft(), QSizeF(progress.width() * std::fmod(t / 10, 1), 12)),
        QColor(0x22, 0xa0, 0x6b));
    for (int line = 0; line < 9; ++line) {
        painter.setPen(QColor(0x44, 0x44, 0x44));
        painter.drawText(
            QPointF(field.left(), progress.bottom() + 40 + line * 24),
            QStringLiteral("Line %1 of the message body, with some words to read.").arg(line + 1));
    }
    drawPointer(painter, QPointF(field.left() + 200 + 150 * std::sin(t),
                                 field.top() + 120 + 90 * std::cos(t * 0.7)));
    return image;
}

} // namespace vellumix::bench
