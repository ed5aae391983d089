#include "editor/ColorCopyToast.h"

#include "editor/SymbolIcon.h"
#include "platform/WindowKind.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTimer>

namespace vellumix {

namespace {

constexpr int padding = 14;

QScreen* screenUnderPointer() {
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    return screen != nullptr ? screen : QGuiApplication::primaryScreen();
}

QPainterPath outline(const QRectF& rect) {
    QPainterPath path;
    path.addRoundedRect(rect, ColorCopyToast::cornerRadius, ColorCopyToast::cornerRadius);
    return path;
}

} // namespace

ColorCopyToast::ColorCopyToast(const QString& hex) : m_text(QStringLiteral("Copied ") + hex) {
    windowkind::makeFloatingPanel(this);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(size);
    if (windowkind::compositorActive()) {
        setAttribute(Qt::WA_TranslucentBackground);
    } else {
        setMask(QRegion(outline(QRectF(rect())).toFillPolygon().toPolygon()));
    }
}

ColorCopyToast* ColorCopyToast::show(const QString& hex) {
    auto* toast = new ColorCopyToast(hex);
    if (QScreen* screen = screenUnderPointer()) {
        const QRect visible = screen->availableGeometry();
        toast->move(visible.center().x() - size.width() / 2,
                    visible.bottom() + 1 - bottomGap - size.height());
    }
    toast->QWidget::show();
    QTimer::singleShot(duration, toast, &QWidget::close);
    return toast;
}

void ColorCopyToast::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(outline(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5)),
                     QColor(246, 246, 246, 240));
    QFont font = painter.font();
    font.setPixelSize(15);
    font.setWeight(QFont::Medium);
    painter.setFont(font);
    const QRect content = rect().adjusted(padding, 0, -padding, 0);
    const QIcon check =
        SymbolIcon::icon(QStringLiteral("checkmark.circle.fill"), QColor(52, 199, 89));
    const QFontMetrics metrics(font);
    const int textWidth = metrics.horizontalAdvance(m_text);
    const int left = content.center().x() - (textWidth + 24) / 2;
    check.paint(&painter, QRect(left, content.center().y() - 9, 18, 18));
    painter.setPen(QColor(30, 30, 30));
    painter.drawText(QRect(left + 24, content.top(), textWidth + 1, content.height()),
                     Qt::AlignVCenter | Qt::AlignLeft, m_text);
}

} // namespace vellumix
