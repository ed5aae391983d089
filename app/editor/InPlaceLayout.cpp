#include "editor/InPlaceLayout.h"

#include <algorithm>

namespace vellumix::InPlaceLayout {

namespace {

// Distances in points from V and from the screen's edges.
constexpr double toolbarDrop = 42;
constexpr double roomBelow = 84;
constexpr double toolbarRise = 88;
constexpr double roomAbove = 130;
constexpr double buttonsInset = 42;
constexpr double buttonsEdge = 48;
constexpr double buttonsRise = 25;
constexpr double captionRise = 52;
constexpr double captionTop = 20;

} // namespace

std::array<QRectF, 4> dimming(const QRectF& v, QSizeF screen) {
    const double w = screen.width();
    const double h = screen.height();
    return {QRectF(0, 0, w, v.top()), QRectF(0, v.bottom(), w, std::max(h - v.bottom(), 0.0)),
            QRectF(0, v.top(), v.left(), v.height()),
            QRectF(v.right(), v.top(), std::max(w - v.right(), 0.0), v.height())};
}

double toolbarWidth(QSizeF screen) {
    return std::min(screen.width() - 2 * screenMargin, toolbarMaximumWidth);
}

QPointF toolbarCenter(const QRectF& v, QSizeF screen) {
    const double half = toolbarWidth(screen) / 2;
    const double x = std::min(std::max(v.center().x(), half + screenMargin),
                              screen.width() - half - screenMargin);
    double y = screen.height() - toolbarDrop;
    if (screen.height() > v.bottom() + roomBelow) {
        y = v.bottom() + toolbarDrop;
    } else if (v.top() > roomAbove) {
        y = v.top() - toolbarRise;
    }
    return QPointF(x, y);
}

QPointF buttonsCenter(const QRectF& v, QSizeF screen) {
    const double x =
        std::min(std::max(v.right() - buttonsInset, buttonsEdge), screen.width() - buttonsEdge);
    const double y = v.top() >= buttonsEdge ? v.top() - buttonsRise : v.top() + buttonsRise;
    return QPointF(x, y);
}

QPointF captionCenter(QPointF toolbar) {
    return QPointF(toolbar.x(), std::max(toolbar.y() - captionRise, captionTop));
}

bool showsCaption(const QString& message) {
    return message.contains(QStringLiteral("failed")) || message.contains(QStringLiteral("Enter"));
}

} // namespace vellumix::InPlaceLayout
