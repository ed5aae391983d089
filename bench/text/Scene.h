#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QStringList>

#include <utility>
#include <vector>

namespace vellumix {

// The colours of one window theme; the accent fills buttons and selections.
struct Theme {
    bool dark;
    QColor window;
    QColor panel;
    QColor text;
    QColor secondary;
    QColor separator;
    QColor control; // fill of a plain (not accented) button or bubble
};

const Theme& lightTheme();
const Theme& darkTheme();

// A run of text in one colour; lines of several runs are how code and
// terminals colour their words.
using Span = std::pair<QString, QColor>;

// A window-like picture drawn in logical pixels at a device pixel ratio, with
// the text a perfect reader returns for it, one line per drawn line.
class Scene final {
public:
    Scene(int width, int height, qreal scale, const QColor& background);

    QFont font(const QString& family, int pixelSize, bool bold = false) const;
    void fill(const QRectF& rect, const QColor& color, qreal radius = 0);
    void rule(qreal x1, qreal y, qreal x2, const QColor& color);
    // Draws `text` with its baseline at `y` and adds it as a reference line;
    // returns its advance.
    qreal text(qreal x, qreal y, const QString& text, const QFont& font, const QColor& color);
    // One reference line made of coloured runs.
    void spans(qreal x, qreal y, const std::vector<Span>& spans, const QFont& font);
    // Several texts on one baseline, read as one line separated by spaces.
    void row(const std::vector<std::pair<qreal, QString>>& cells, qreal y, const QFont& font,
             const QColor& color);
    // A label centred in a filled, rounded box that hugs it.
    QRectF pill(qreal x, qreal y, const QString& label, const QFont& font, const QColor& fill,
                const QColor& ink, qreal padX, qreal padY);
    void checkbox(qreal x, qreal y, bool checked, const Theme& theme, const QColor& accent);
    void radio(qreal x, qreal y, bool on, const Theme& theme, const QColor& accent);
    void toggle(qreal x, qreal y, bool on, const Theme& theme, const QColor& accent);

    QImage image() { return m_painter.end(), m_image; }
    QString reference() const { return m_reference.join(QLatin1Char('\n')); }

private:
    QImage m_image;
    QPainter m_painter;
    QStringList m_reference;
};

} // namespace vellumix
