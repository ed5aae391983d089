#include "marks/MarkFont.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vellumix {

namespace {
// Sizes below a pixel carry no readable text and would make the scale
// factor degenerate.
constexpr double minimumPixelSize = 1;
} // namespace

MarkFont::MarkFont(double pixelSize, bool bold) : m_font(QStringLiteral("Helvetica")) {
    const double size =
        std::isfinite(pixelSize) ? std::max(pixelSize, minimumPixelSize) : minimumPixelSize;
    const int wholeSize = std::max(1, static_cast<int>(std::lround(size)));
    m_scale = size / wholeSize;
    m_font.setPixelSize(wholeSize);
    m_font.setHintingPreference(QFont::PreferNoHinting);
    if (bold) {
        m_font.setWeight(QFont::Bold);
    }
    const QFontMetricsF metrics(m_font);
    m_ascent = metrics.ascent() * m_scale;
    m_descent = metrics.descent() * m_scale;
}

double MarkFont::width(const QString& line) const {
    return QFontMetricsF(m_font).horizontalAdvance(line) * m_scale;
}

void MarkFont::draw(QPainter& painter, QPointF baseline, const QString& line) const {
    painter.save();
    painter.translate(baseline);
    painter.scale(m_scale, m_scale);
    painter.setFont(m_font);
    painter.drawText(QPointF(0, 0), line);
    painter.restore();
}

} // namespace vellumix
