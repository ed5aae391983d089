#include "ui/TextStyle.h"

#include <QApplication>
#include <QLabel>

namespace vellumix::textstyle {

namespace {

struct StyleRow {
    Style style;
    int pixels;
    QFont::Weight weight;
    bool secondary;
};

constexpr StyleRow rows[] = {
    {Style::title, 17, QFont::DemiBold, false},
    {Style::headline, 13, QFont::DemiBold, false},
    {Style::body, 13, QFont::Normal, false},
    {Style::secondaryBody, 13, QFont::Normal, true},
    {Style::callout, 12, QFont::Normal, false},
    {Style::caption, 10, QFont::Normal, false},
    {Style::secondaryCaption, 10, QFont::Normal, true},
};

const StyleRow& rowOf(Style style) {
    for (const StyleRow& row : rows) {
        if (row.style == style) {
            return row;
        }
    }
    return rows[2];
}

} // namespace

QFont font(Style style) {
    const StyleRow& row = rowOf(style);
    QFont f = QApplication::font();
    f.setPixelSize(row.pixels);
    f.setWeight(row.weight);
    return f;
}

QLabel* label(const QString& text, int pixelSize, QFont::Weight weight) {
    auto* l = new QLabel(text);
    QFont f = l->font();
    f.setPixelSize(pixelSize);
    f.setWeight(weight);
    l->setFont(f);
    return l;
}

QLabel* label(const QString& text, Style style) {
    auto* l = new QLabel(text);
    l->setFont(font(style));
    if (rowOf(style).secondary) {
        QPalette palette = l->palette();
        palette.setColor(QPalette::WindowText, palette.color(QPalette::PlaceholderText));
        l->setPalette(palette);
    }
    return l;
}

} // namespace vellumix::textstyle
