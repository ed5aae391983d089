#include "editor/SymbolIcon.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

namespace vellumix::SymbolIcon {

namespace {

struct Row {
    const char* symbol;
    const char* glyph;
};

constexpr Row rows[] = {
    {"square", "□"},
    {"circle", "○"},
    {"line.diagonal", "╱"},
    {"arrow.up.right", "↗"},
    {"arrow.turn.up.right", "↱"},
    {"textformat", "Aa"},
    {"text.bubble", "❝"},
    {"pencil.tip", "✎"},
    {"1.circle", "①"},
    {"highlighter", "▬"},
    {"square.grid.3x3", "▦"},
    {"rectangle.fill", "■"},
    {"crop", "⬚"},
    {"text.viewfinder", "⊡"},
    {"arrow.uturn.backward", "↶"},
    {"arrow.uturn.forward", "↷"},
    {"rectangle.expand.vertical", "⇕"},
    {"square.and.arrow.down", "⤓"},
    {"chevron.down", "▾"},
    {"square.on.square", "❐"},
    {"xmark", "✕"},
    {"pin", "⚲"},
    {"arrow.up.left.and.arrow.down.right", "⤢"},
    {"textformat.size", "A↕"},
    {"rectangle.roundedtop", "▢"},
    {"pencil", "✎"},
    {"trash", "⌫"},
    {"checkmark.circle.fill", "✔"},
};

constexpr int side = 64;

} // namespace

QString glyph(const QString& symbol) {
    for (const Row& row : rows) {
        if (symbol == QLatin1String(row.symbol)) {
            return QString::fromUtf8(row.glyph);
        }
    }
    return QString();
}

QIcon icon(const QString& symbol, const QColor& color) {
    const QString text = glyph(symbol);
    if (text.isEmpty()) {
        return QIcon();
    }
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(text.size() > 1 ? side * 5 / 10 : side * 7 / 10);
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, text);
    return QIcon(pixmap);
}

} // namespace vellumix::SymbolIcon
