#include "session/PermissionGuideView.h"

#include "session/PermissionGuide.h"
#include "session/PermissionIllustration.h"
#include "ui/TextStyle.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace vellumix {

namespace {

const QColor blue(0x0a, 0x84, 0xff);

QLabel* sizedLabel(const QString& text, int pixels, QFont::Weight weight) {
    QLabel* label = textstyle::label(text, pixels, weight);
    label->setWordWrap(true);
    return label;
}

// A step's number, white in a blue 19 × 19 circle.
QLabel* stepNumber(int number) {
    QLabel* label = sizedLabel(QString::number(number), 11, QFont::DemiBold);
    label->setFixedSize(19, 19);
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet(
        QStringLiteral("color: white; background: %1; border-radius: 9px;").arg(blue.name()));
    return label;
}

} // namespace

PermissionGuideView::PermissionGuideView(PermissionGuide& guide)
    : m_guide(guide), m_detail(textstyle::label(QString(), textstyle::Style::callout)),
      m_cancel(new QPushButton(QStringLiteral("Cancel"))),
      m_check(new QPushButton(QStringLiteral("Check Again"))) {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(PermissionGuide::Texts::title);
    setFixedSize(PermissionGuide::windowSize);

    auto* column = new QVBoxLayout(this);
    column->setSpacing(18);
    column->setContentsMargins(28, 28, 28, 28);
    column->addWidget(symbol());
    auto* heading = new QVBoxLayout;
    heading->setSpacing(6);
    heading->addWidget(sizedLabel(PermissionGuide::Texts::heading, 25, QFont::DemiBold));
    QLabel* explanation =
        textstyle::label(PermissionGuide::Texts::explanation, textstyle::Style::secondaryBody);
    explanation->setWordWrap(true);
    heading->addWidget(explanation);
    column->addLayout(heading);
    column->addWidget(new PermissionIllustration);
    column->addLayout(stepRows());
    m_detail->setWordWrap(true);
    column->addWidget(m_detail);
    QLabel* note = textstyle::label(m_guide.sessionNote(), textstyle::Style::secondaryCaption);
    note->setWordWrap(true);
    column->addWidget(note);
    column->addStretch();
    column->addLayout(buttonRow());

    connect(&m_guide, &PermissionGuide::detailChanged, this, &PermissionGuideView::showDetail);
    showDetail();
}

QWidget* PermissionGuideView::symbol() {
    const qreal ratio = devicePixelRatioF();
    QPixmap pixmap(QSize(30, 30) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    PermissionIllustration::drawViewfinder(painter, QRectF(2, 2, 26, 26), blue, 1.6);
    painter.end();
    auto* label = new QLabel;
    label->setPixmap(pixmap);
    return label;
}

QLayout* PermissionGuideView::stepRows() {
    auto* rows = new QVBoxLayout;
    rows->setSpacing(9);
    const QStringList& steps = m_guide.steps();
    for (qsizetype i = 0; i < steps.size(); ++i) {
        auto* row = new QHBoxLayout;
        row->setSpacing(10);
        row->addWidget(stepNumber(int(i) + 1), 0, Qt::AlignTop);
        QLabel* text = textstyle::label(steps[i], textstyle::Style::body);
        text->setWordWrap(true);
        row->addWidget(text, 1);
        rows->addLayout(row);
    }
    return rows;
}

QLayout* PermissionGuideView::buttonRow() {
    m_cancel->setShortcut(QKeySequence(Qt::Key_Escape));
    m_check->setDefault(true);
    connect(m_cancel, &QPushButton::clicked, &m_guide, &PermissionGuide::cancel);
    connect(m_check, &QPushButton::clicked, &m_guide, &PermissionGuide::check);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(m_cancel);
    row->addWidget(m_check);
    return row;
}

void PermissionGuideView::showDetail() {
    m_detail->setText(m_guide.detail());
    m_detail->setVisible(!m_guide.detail().isEmpty());
}

void PermissionGuideView::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit closed();
}

} // namespace vellumix
