#pragma once

#include <QFont>
#include <QPointF>
#include <QString>

class QPainter;

namespace vellumix {

// "Helvetica" (or its bold face) at an exact, possibly fractional, pixel size,
// with the metrics that mark layout uses. QFont only takes whole pixel sizes,
// so the font is opened at the nearest whole size and everything it measures
// or draws is scaled by the remaining factor. Ascent and descent are the
// font's own typographic ones, not the clipping heights Qt reports, so lines
// sit as the type designer spaced them, the same on every screen and image.
// Needs a QGuiApplication, like every use of Qt's font database.
class MarkFont final {
public:
    MarkFont(double pixelSize, bool bold = false);

    // The font at the whole pixel size; measure with it and multiply by scale().
    const QFont& font() const { return m_font; }
    double scale() const { return m_scale; }

    double ascent() const { return m_ascent; }
    double descent() const { return m_descent; }
    // Distance between the tops of consecutive lines of mark text.
    double lineAdvance() const { return m_ascent + m_descent + 5; }
    // Advance width of one line of text, trailing spaces included.
    double width(const QString& line) const;

    // Draws one line with its baseline starting at baseline, in the pen colour.
    void draw(QPainter& painter, QPointF baseline, const QString& line) const;

private:
    QFont m_font;
    double m_scale = 1;
    double m_ascent = 0;
    double m_descent = 0;
};

} // namespace vellumix
