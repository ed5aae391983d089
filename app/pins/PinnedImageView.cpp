#include "pins/PinnedImageView.h"

#include "imaging/EditedImage.h"
#include "pins/PinImageArea.h"
#include "platform/Clipboard.h"
#include "platform/WindowKind.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

namespace vellumix {

namespace {

// The slider moves in percent.
constexpr int sliderMinimum = 30;
constexpr int sliderMaximum = 100;
constexpr int barSpacing = 10;
const QColor pinBlue(0, 122, 255);

// A push pin: a round head on a short needle, leaning right.
QPixmap pinSymbol(qreal ratio) {
    QPixmap pixmap(QSize(16, 16) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(pinBlue, 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(7, 9), QPointF(2.5, 13.5));
    painter.setPen(Qt::NoPen);
    painter.setBrush(pinBlue);
    painter.drawEllipse(QPointF(10, 6), 4.5, 4.5);
    return pixmap;
}

} // namespace

PinnedImageView::PinnedImageView(QImage image, QSizeF initialSize, Clipboard& clipboard,
                                 std::function<void(double)> opacityChanged, QWidget* parent)
    : QWidget(parent), m_image(std::move(image)), m_clipboard(clipboard),
      m_opacityChanged(std::move(opacityChanged)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(new PinImageArea(m_image, initialSize, this), 1);
    layout->addWidget(makeControlBar());
    m_error = new QLabel(this);
    m_error->setStyleSheet(QStringLiteral("color: red; padding: 6px;"));
    QFont caption = m_error->font();
    caption.setPointSizeF(caption.pointSizeF() * 0.85);
    m_error->setFont(caption);
    m_error->hide();
    layout->addWidget(m_error);
}

QWidget* PinnedImageView::makeControlBar() {
    auto* bar = new QWidget(this);
    bar->setFixedHeight(controlBarHeight);
    bar->setAutoFillBackground(true);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(barSpacing, barSpacing, barSpacing, barSpacing);
    row->setSpacing(barSpacing);

    auto* symbol = new QLabel(bar);
    symbol->setPixmap(pinSymbol(devicePixelRatioF()));
    symbol->setToolTip(QStringLiteral("Drag the title bar to move this image"));
    row->addWidget(symbol);

    m_slider = new QSlider(Qt::Horizontal, bar);
    m_slider->setRange(sliderMinimum, sliderMaximum);
    m_slider->setValue(sliderMaximum);
    m_slider->setAccessibleName(QStringLiteral("Image opacity"));
    connect(m_slider, &QSlider::valueChanged, this, [this] {
        if (m_opacityChanged) {
            m_opacityChanged(opacity());
        }
    });
    row->addWidget(m_slider, 1);

    m_copy = new QPushButton(QStringLiteral("Copy"), bar);
    connect(m_copy, &QPushButton::clicked, this, &PinnedImageView::copy);
    row->addWidget(m_copy);
    if (!windowkind::titlesFloatingWindows()) {
        auto* close = new QToolButton(bar);
        close->setText(QStringLiteral("✕"));
        close->setAutoRaise(true);
        close->setAccessibleName(QStringLiteral("Close pin"));
        close->setToolTip(QStringLiteral("Close (Esc)"));
        connect(close, &QToolButton::clicked, this, &QWidget::close);
        row->addWidget(close);
    }
    return bar;
}

void PinnedImageView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

double PinnedImageView::opacity() const {
    return m_slider->value() / 100.0;
}

QString PinnedImageView::error() const {
    return m_error->isHidden() ? QString() : m_error->text();
}

void PinnedImageView::showError(const QString& text) {
    m_error->setText(text);
    m_error->show();
}

void PinnedImageView::copy() {
    QByteArray png;
    try {
        png = EditedImage::png(m_image);
    } catch (const std::exception& error) {
        showError(QString::fromUtf8(error.what()));
        return;
    }
    if (!m_clipboard.setPng(png)) {
        showError(QStringLiteral("Could not write to the clipboard"));
        return;
    }
    m_error->hide();
    m_copy->setText(QStringLiteral("Copied"));
}

} // namespace vellumix
