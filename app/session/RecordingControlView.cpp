#include "session/RecordingControlView.h"

#include "platform/WindowKind.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace vellumix {

RecordingControlView::RecordingControlView(QWidget* parent) : QWidget(parent) {
    windowkind::makeFloatingPanel(this);
    // Shown without taking the focus from what is recorded, but a click
    // gives it the keyboard, for Escape.
    setWindowFlag(Qt::WindowDoesNotAcceptFocus, false);
    setWindowTitle(QStringLiteral("Recording"));
    setObjectName(QStringLiteral("Vellumix.recordingControl"));
    setFixedSize(size);
    setAutoFillBackground(true);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(12, 6, 8, 6);
    auto* dot = new QLabel(QStringLiteral("●"), this);
    dot->setStyleSheet(QStringLiteral("color: #e0312b;"));
    m_time = new QLabel(this);
    m_time->setAccessibleName(QStringLiteral("Elapsed time"));
    m_stop = new QPushButton(QStringLiteral("Stop"), this);
    connect(m_stop, &QPushButton::clicked, this, &RecordingControlView::stopRequested);
    row->addWidget(dot);
    row->addWidget(m_time, 1);
    row->addWidget(m_stop);
    setElapsed(0);
}

void RecordingControlView::setElapsed(double seconds) {
    const int whole = int(seconds);
    m_time->setText(
        QStringLiteral("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0')));
}

QString RecordingControlView::elapsedText() const {
    return m_time->text();
}

void RecordingControlView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        emit stopRequested();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace vellumix
