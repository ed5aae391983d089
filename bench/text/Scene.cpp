#include "Scene.h"

#include <QFontMetricsF>
#include <QPainterPath>

namespace vellumix {

const Theme& lightTheme() {
    static const Theme theme{false,
                             QColor(0xff, 0xff, 0xff),
                             QColor(0xf2, 0xf2, 0xf7),
                             QColor(0x1d, 0x1d, 0x1f),
                             QColor(0x6e, 0x6e, 0x73),
                             QColor(0xd1, 0xd1, 0xd6),
                             QColor(0xe9, 0xe9, 0xeb)};
    return theme;
}

const Theme& darkTheme() {
    static const Theme theme{true,
                             QColor(0x1e, 0x1e, 0x1e),
                             QColor(0x2c, 0x2c, 0x2e),
                             QColor(0xe5, 0xe5, 0xe7),
                             QColor(0x98, 0x98, 0x9d),
                             QColor(0x48, 0x48, 0x4a),
                             QColor(0x3a, 0x3a, 0x3c)};
    return theme;
}

Scene::Scene(int width, int height, qreal scale, const QColor& background)
    : m_image(qRound(width * scale), qRound(height * scale),
              QImage::Format_RGBA8888_Premultiplied) {
    m_image.setDevicePixelRatio(scale);
    m_image.fill(background);
    m_painter.begin(&m_image);
    m_painter.setRenderHint(QPainter::Antialiasing);
}

QFont Scene::font(const QString& family, int pixelSize, bool bold) const {
    QFont f(family);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

void Scene::fill(const QRectF& rect, const QColor& color, qreal radius) {
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(color);
    m_painter.drawRoundedRect(rect, radius, radius);
}

void Scene::rule(qreal x1, qreal y, qreal x2, const QColor& color) {
    m_painter.setPen(QPen(color, 1));
    m_painter.drawLine(QPointF(x1, y), QPointF(x2, y));
}

qreal Scene::text(qreal x, qreal y, const QString& text, const QFont& font, const QColor& color) {
    m_painter.setFont(font);
    m_painter.setPen(color);
    m_painter.drawText(QPointF(x, y), text);
    m_reference << text;
    return QFontMetricsF(font).horizontalAdvance(text);
}

void Scene::spans(qreal x, qreal y, const std::vector<Span>& spans, const QFont& font) {
    m_painter.setFont(font);
    const QFontMetricsF metrics(font);
    QString line;
    for (const auto& [text, color] : spans) {
        m_painter.setPen(color);
        m_painter.drawText(QPointF(x, y), text);
        x += metrics.horizontalAdvance(text);
        line += text;
    }
    m_reference << line;
}

void Scene::row(const std::vector<std::pair<qreal, QString>>& cells, qreal y, const QFont& font,
                const QColor& color) {
    m_painter.setFont(font);
    m_painter.setPen(color);
    QStringList line;
    for (const auto& [x, text] : cells) {
        m_painter.drawText(QPointF(x, y), text);
        line << text;
    }
    m_reference << line.join(QLatin1Char(' '));
}

QRectF Scene::pill(qreal x, qreal y, const QString& label, const QFont& font, const QColor& fill,
                   const QColor& ink, qreal padX, qreal padY) {
    const QFontMetricsF metrics(font);
    const QRectF box(x, y, metrics.horizontalAdvance(label) + 2 * padX,
                     metrics.ascent() + metrics.descent() + 2 * padY);
    this->fill(box, fill, std::min(box.height() / 2, qreal(8)));
    text(x + padX, y + padY + metrics.ascent(), label, font, ink);
    return box;
}

void Scene::checkbox(qreal x, qreal y, bool checked, const Theme& theme, const QColor& accent) {
    const QRectF box(x, y, 14, 14);
    if (checked) {
        fill(box, accent, 3);
        QPainterPath tick;
        tick.moveTo(x + 3, y + 7);
        tick.lineTo(x + 6, y + 10);
        tick.lineTo(x + 11, y + 4);
        m_painter.setPen(QPen(Qt::white, 2));
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawPath(tick);
    } else {
        m_painter.setPen(QPen(theme.secondary, 1));
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawRoundedRect(box, 3, 3);
    }
}

void Scene::radio(qreal x, qreal y, bool on, const Theme& theme, const QColor& accent) {
    m_painter.setPen(QPen(on ? accent : theme.secondary, 1));
    m_painter.setBrush(on ? accent : Qt::transparent);
    m_painter.drawEllipse(QRectF(x, y, 14, 14));
    if (on) {
        fill(QRectF(x + 4.5, y + 4.5, 5, 5), Qt::white, 2.5);
    }
}

void Scene::toggle(qreal x, qreal y, bool on, const Theme& theme, const QColor& accent) {
    fill(QRectF(x, y, 34, 20), on ? accent : theme.control, 10);
    fill(QRectF(on ? x + 16 : x + 2, y + 2, 16, 16), Qt::white, 8);
}

} // namespace vellumix
