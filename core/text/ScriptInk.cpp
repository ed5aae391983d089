#include "text/ScriptInk.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

#include <cmath>
#include <vector>

namespace vellumix::ScriptInk {

namespace {

constexpr int kDrawnSize = 48;

bool isIdeograph(char32_t c) {
    return QChar::script(c) == QChar::Script_Han;
}

double inkIn(const QImage& grey, const QRect& area) {
    const QRect inside = area & grey.rect();
    double ink = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        const uchar* row = grey.constScanLine(y);
        for (int x = inside.left(); x <= inside.right(); ++x) {
            ink += 255 - row[x];
        }
    }
    return ink;
}

QFont drawnFont() {
    QFont font;
    font.setPixelSize(kDrawnSize);
    return font;
}

double drawnInk(char32_t c) {
    QImage canvas(kDrawnSize * 2, kDrawnSize * 2, QImage::Format_Grayscale8);
    canvas.fill(255);
    QPainter painter(&canvas);
    painter.setFont(drawnFont());
    painter.setPen(Qt::black);
    painter.drawText(QPointF(kDrawnSize / 4.0, kDrawnSize * 1.5), QString::fromUcs4(&c, 1));
    painter.end();
    return inkIn(canvas, canvas.rect());
}

// Where each character of `text` lies across `box`, as drawn text would
// place it stretched to the box: the left edge of each and the right edge of
// the last. The box holds the line's ink, which ends well short of the last
// advance where the line ends in full-width punctuation (。 ？): stretching the
// advances to it would shift the cells further left along the line.
std::vector<int> cellEdges(const QString& text, const QRect& box) {
    const QFontMetricsF metrics(drawnFont());
    const QList<uint> characters = text.toUcs4();
    std::vector<double> advances{0};
    for (const uint c : characters) {
        const char32_t character = c;
        advances.push_back(advances.back() +
                           metrics.horizontalAdvance(QString::fromUcs4(&character, 1)));
    }
    const QRectF ink = metrics.tightBoundingRect(text);
    const double left = ink.width() > 0 ? ink.left() : 0;
    const double width = ink.width() > 0 ? ink.width() : advances.back();
    std::vector<int> edges;
    for (const double advance : advances) {
        edges.push_back(box.left() + int(std::lround((advance - left) / width * box.width())));
    }
    return edges;
}

} // namespace

std::optional<double> lead(const QImage& prepared, const QRect& box, const QString& a,
                           const QString& b) {
    const QList<uint> first = a.toUcs4();
    const QList<uint> second = b.toUcs4();
    if (first.size() != second.size() || first.isEmpty()) {
        return std::nullopt;
    }
    const std::vector<int> edges = cellEdges(a, box);
    double shared[2] = {0, 0};    // in the image, drawn
    double parted[3] = {0, 0, 0}; // in the image, drawn as `a`, drawn as `b`
    for (qsizetype i = 0; i < first.size(); ++i) {
        if (!isIdeograph(first[i]) || !isIdeograph(second[i])) {
            continue;
        }
        const double image = inkIn(prepared, QRect(QPoint(edges[size_t(i)], box.top()),
                                                   QPoint(edges[size_t(i) + 1] - 1, box.bottom())));
        if (first[i] == second[i]) {
            shared[0] += image;
            shared[1] += drawnInk(first[i]);
        } else {
            parted[0] += image;
            parted[1] += drawnInk(first[i]);
            parted[2] += drawnInk(second[i]);
        }
    }
    if (shared[0] <= 0 || shared[1] <= 0 || parted[0] <= 0 || parted[1] <= 0 || parted[2] <= 0) {
        return std::nullopt;
    }
    const double image = std::log(parted[0] / shared[0]);
    return std::abs(image - std::log(parted[2] / shared[1])) -
           std::abs(image - std::log(parted[1] / shared[1]));
}

} // namespace vellumix::ScriptInk
