#include "ui/HintBubble.h"

#include "platform/WindowKind.h"

#include <QPainter>
#include <QPainterPath>

namespace vellumix {

namespace {

QPainterPath roundedOutline(const QSize& size) {
    QPainterPath path;
    path.addRoundedRect(QRectF(QPointF(0, 0), size), HintBubble::cornerRadius,
                        HintBubble::cornerRadius);
    return path;
}

} // namespace

HintBubble::HintBubble(const QString& text, bool translucent)
    : m_text(text), m_translucent(translucent) {
    windowkind::makeFloatingPanel(this);
    setWindowFlag(Qt::WindowTransparentForInput);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_TranslucentBackground, translucent);
    QFont f = font();
    f.setPixelSize(11);
    f.setWeight(QFont::Medium);
    setFont(f);
    const QSize textSize = fontMetrics().size(Qt::TextSingleLine, m_text);
    setFixedSize(textSize.grownBy(padding));
    // Without a compositor the mask cuts the corners; the fill stays opaque.
    if (!translucent) {
        setMask(QRegion(roundedOutline(size()).toFillPolygon().toPolygon()));
    }
}

void HintBubble::placeOver(const QWidget* control) {
    const QPoint top = control->mapToGlobal(QPoint(control->width() / 2, 0));
    move(top.x() - width() / 2, top.y() - lift);
}

void HintBubble::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, m_translucent);
    const QColor background = m_translucent ? QColor(0, 0, 0, 230) : QColor(Qt::black);
    painter.fillPath(roundedOutline(size()), background);
    painter.setPen(Qt::white);
    painter.drawText(rect().marginsRemoved(padding), Qt::AlignCenter, m_text);
}

} // namespace vellumix
