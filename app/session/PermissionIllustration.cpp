#include "session/PermissionIllustration.h"

#include <QPainter>
#include <QPainterPath>

namespace vellumix {

const QString PermissionIllustration::caption = QStringLiteral("LOGIN SCREEN · EXAMPLE");
const QString PermissionIllustration::rowTitle = QStringLiteral("Session");
const QString PermissionIllustration::sessionName = QStringLiteral("GNOME on Xorg");
const QString PermissionIllustration::accessibilityLabel =
    QStringLiteral("Example: choose a session that runs on Xorg at the login screen. This "
                   "illustration is not an interactive setting.");

namespace {

constexpr qreal padding = 17;
constexpr qreal spacing = 15;
const QColor blue(0x0a, 0x84, 0xff);

QFont sized(QFont font, int pixels, QFont::Weight weight) {
    font.setPixelSize(pixels);
    font.setWeight(weight);
    return font;
}

} // namespace

PermissionIllustration::PermissionIllustration() {
    setAccessibleName(accessibilityLabel);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setMinimumHeight(sizeHint().height());
}

void PermissionIllustration::drawViewfinder(QPainter& painter, const QRectF& rect,
                                            const QColor& color, qreal lineWidth) {
    const qreal arm = rect.width() * 0.3;
    QPainterPath path;
    const QRectF r = rect.adjusted(lineWidth / 2, lineWidth / 2, -lineWidth / 2, -lineWidth / 2);
    path.moveTo(r.left(), r.top() + arm), path.lineTo(r.topLeft()),
        path.lineTo(r.left() + arm, r.top());
    path.moveTo(r.right() - arm, r.top()), path.lineTo(r.topRight()),
        path.lineTo(r.right(), r.top() + arm);
    path.moveTo(r.right(), r.bottom() - arm), path.lineTo(r.bottomRight()),
        path.lineTo(r.right() - arm, r.bottom());
    path.moveTo(r.left() + arm, r.bottom()), path.lineTo(r.bottomLeft()),
        path.lineTo(r.left(), r.bottom() - arm);
    painter.save();
    painter.setPen(QPen(color, lineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.restore();
}

void PermissionIllustration::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF card = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(palette().color(QPalette::Mid), 1));
    painter.setBrush(palette().color(QPalette::Window));
    painter.drawRoundedRect(card, 10, 10);
    qreal top = drawHeader(painter, padding);
    top = drawTitleRow(painter, top + spacing);
    drawSessionRow(painter, top + spacing);
}

// Three window dots and the caption.
qreal PermissionIllustration::drawHeader(QPainter& painter, qreal top) {
    const QColor secondary = palette().color(QPalette::PlaceholderText);
    painter.setPen(Qt::NoPen);
    painter.setBrush(secondary);
    for (int i = 0; i < 3; ++i) {
        painter.drawEllipse(QRectF(padding + i * 12, top + 2, 7, 7));
    }
    painter.setPen(secondary);
    painter.setFont(sized(font(), 9, QFont::Medium));
    painter.drawText(QRectF(padding + 44, top, width(), 11), Qt::AlignLeft | Qt::AlignVCenter,
                     caption);
    return top + 11;
}

qreal PermissionIllustration::drawTitleRow(QPainter& painter, qreal top) {
    const QColor text = palette().color(QPalette::WindowText);
    painter.setPen(QPen(text, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(padding, top + 2, 15, 11), 2, 2); // a screen
    painter.drawLine(QPointF(padding + 4, top + 16), QPointF(padding + 11, top + 16));
    painter.setFont(sized(font(), 13, QFont::DemiBold));
    painter.setPen(text);
    painter.drawText(QRectF(padding + 24, top, width(), 18), Qt::AlignLeft | Qt::AlignVCenter,
                     rowTitle);
    return top + 18;
}

// The highlighted session: its tile, name, an arrow and a check drawn on.
void PermissionIllustration::drawSessionRow(QPainter& painter, qreal top) {
    const QRectF row(padding, top, width() - 2 * padding, 60);
    QColor tint = blue;
    tint.setAlphaF(0.08);
    QColor outline = blue;
    outline.setAlphaF(0.35);
    painter.setPen(QPen(outline, 1));
    painter.setBrush(tint);
    painter.drawRoundedRect(row, 8, 8);
    const QRectF tile(row.left() + 12, row.top() + 12, 36, 36);
    painter.setPen(Qt::NoPen);
    painter.setBrush(blue);
    painter.drawRoundedRect(tile, 8, 8);
    drawViewfinder(painter, tile.adjusted(8, 8, -8, -8), Qt::white, 2);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setFont(sized(font(), 15, QFont::Medium));
    const QRectF name(tile.right() + 12, row.top(), 180, row.height());
    painter.drawText(name, Qt::AlignLeft | Qt::AlignVCenter, sessionName);
    const qreal mid = row.center().y();
    const qreal arrow = name.left() + painter.fontMetrics().horizontalAdvance(sessionName) + 14;
    painter.setPen(QPen(blue, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawLine(QPointF(arrow, mid), QPointF(arrow + 16, mid));
    painter.drawPolyline(
        QPolygonF({{arrow + 10, mid - 6}, {arrow + 16, mid}, {arrow + 10, mid + 6}}));
    const QRectF check(row.right() - 12 - 23, mid - 11.5, 23, 23);
    painter.setPen(Qt::NoPen);
    painter.setBrush(blue);
    painter.drawEllipse(check);
    painter.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(QPolygonF(
        {{check.left() + 6.5, mid}, {check.left() + 10, mid + 4}, {check.left() + 16.5, mid - 4}}));
}

} // namespace vellumix
