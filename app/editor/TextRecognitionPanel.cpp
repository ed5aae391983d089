#include "editor/TextRecognitionPanel.h"

#include "editor/EditorDocument.h"
#include "editor/SymbolIcon.h"
#include "platform/Clipboard.h"
#include "text/TextRecognition.h"

#include <QCoreApplication>
#include <QFont>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

namespace vellumix {

namespace {

enum Body { loadingBody, errorBody, textBody };

// What the worker hands back: the text, or that it failed or was cancelled.
struct Outcome {
    QString text;
    bool failed = false;
    bool cancelled = false;
};

QLabel* secondaryLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setForegroundRole(QPalette::PlaceholderText);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    return label;
}

} // namespace

QString TextRecognitionPanel::engine(const QImage& image, const CancellationToken& cancellation) {
    return TextRecognition::recognize(image, cancellation);
}

TextRecognitionPanel::TextRecognitionPanel(EditorDocument& document, Clipboard& clipboard,
                                           Recognizer recognizer, std::function<void()> close,
                                           QWidget* parent)
    : QFrame(parent), m_clipboard(clipboard), m_close(std::move(close)) {
    setFixedWidth(panelWidth);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(padding, padding, padding, padding);
    column->setSpacing(rowSpacing);
    column->addWidget(makeHeader());
    m_bodies = new QStackedWidget(this);
    m_bodies->addWidget(makeLoadingBody());
    m_errorLabel = secondaryLabel(QString(), this);
    m_errorLabel->setMinimumHeight(bodyHeight);
    m_bodies->addWidget(m_errorLabel);
    m_bodies->addWidget(makeTextBody());
    column->addWidget(m_bodies);
    QImage image;
    try {
        image = document.output();
    } catch (const std::exception&) {
        showError();
        return;
    }
    start(image, std::move(recognizer));
}

TextRecognitionPanel::~TextRecognitionPanel() {
    m_cancellation->cancel();
}

QWidget* TextRecognitionPanel::makeHeader() {
    auto* header = new QWidget(this);
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    auto* symbol = new QLabel(header);
    symbol->setPixmap(SymbolIcon::icon(QStringLiteral("text.viewfinder"), QColor(0, 122, 255))
                          .pixmap(QSize(20, 20)));
    auto* title = new QLabel(QStringLiteral("Recognize Text"), header);
    QFont headline = title->font();
    headline.setBold(true);
    title->setFont(headline);
    auto* close = new QToolButton(header);
    close->setIcon(SymbolIcon::icon(QStringLiteral("xmark"), QColor(128, 128, 128)));
    close->setAutoRaise(true);
    close->setToolTip(QStringLiteral("Close · Esc"));
    close->setAccessibleName(QStringLiteral("Close text recognition"));
    connect(close, &QToolButton::clicked, this, [this] { m_close(); });
    row->addWidget(symbol);
    row->addWidget(title);
    row->addStretch();
    row->addWidget(close);
    return header;
}

QWidget* TextRecognitionPanel::makeLoadingBody() {
    auto* body = new QWidget(this);
    body->setMinimumHeight(bodyHeight);
    auto* column = new QVBoxLayout(body);
    column->setSpacing(12);
    column->addStretch();
    auto* progress = new QProgressBar(body);
    progress->setRange(0, 0);
    progress->setFixedWidth(120);
    progress->setTextVisible(false);
    column->addWidget(progress, 0, Qt::AlignHCenter);
    column->addWidget(secondaryLabel(QStringLiteral("Recognizing text…"), body));
    column->addStretch();
    return body;
}

QWidget* TextRecognitionPanel::makeTextBody() {
    auto* body = new QWidget(this);
    auto* column = new QVBoxLayout(body);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(rowSpacing);
    m_field = new QPlainTextEdit(body);
    m_field->setAccessibleName(QStringLiteral("Recognized text"));
    m_field->setFixedHeight(bodyHeight);
    QFont font = m_field->font();
    font.setPixelSize(14);
    m_field->setFont(font);
    m_field->setStyleSheet(QStringLiteral("QPlainTextEdit { padding: 10px; border-radius: 10px;"
                                          " background: rgba(0, 0, 0, 9);"
                                          " border: 1px solid rgba(0, 0, 0, 20); }"));
    connect(m_field, &QPlainTextEdit::textChanged, this, &TextRecognitionPanel::textEdited);
    auto* row = new QHBoxLayout;
    m_hint = new QLabel(body);
    m_hint->setForegroundRole(QPalette::PlaceholderText);
    QFont caption = m_hint->font();
    caption.setPointSizeF(caption.pointSizeF() * 0.85);
    m_hint->setFont(caption);
    m_copy = new QPushButton(body);
    m_copy->setDefault(true);
    connect(m_copy, &QPushButton::clicked, this, &TextRecognitionPanel::copyAll);
    row->addWidget(m_hint);
    row->addStretch();
    row->addWidget(m_copy);
    column->addWidget(m_field);
    column->addLayout(row);
    return body;
}

void TextRecognitionPanel::start(const QImage& image, Recognizer recognizer) {
    QtConcurrent::run([image, recognizer = std::move(recognizer), token = m_cancellation] {
        Outcome outcome;
        try {
            outcome.text = recognizer(image, *token);
            token->throwIfCancelled();
        } catch (const CancellationError&) {
            outcome.cancelled = true;
        } catch (...) {
            outcome.failed = true;
        }
        return outcome;
    }).then(qApp, [panel = QPointer<TextRecognitionPanel>(this)](const Outcome& outcome) {
        // Resumes under the application, which outlives any panel (Qt 6.4
        // requires the context to outlive the future); a closed panel or a
        // cancelled recognition leaves everything as it is.
        if (panel == nullptr || outcome.cancelled || panel->m_cancellation->isCancelled()) {
            return;
        }
        if (outcome.failed) {
            panel->showError();
        } else {
            panel->showText(outcome.text);
        }
    });
}

void TextRecognitionPanel::showText(const QString& text) {
    m_loading = false;
    m_field->setPlainText(text);
    textEdited();
    m_bodies->setCurrentIndex(textBody);
    m_field->setFocus();
}

void TextRecognitionPanel::showError() {
    m_loading = false;
    m_error = failureText;
    m_errorLabel->setText(m_error);
    m_bodies->setCurrentIndex(errorBody);
}

QString TextRecognitionPanel::text() const {
    return m_field->toPlainText();
}

void TextRecognitionPanel::textEdited() {
    m_copied = false;
    const bool empty = text().isEmpty();
    m_hint->setText(empty ? emptyHint : editHint);
    m_copy->setText(QStringLiteral("Copy All"));
    m_copy->setEnabled(!empty);
}

void TextRecognitionPanel::copyAll() {
    m_copied = m_clipboard.setText(text());
    m_copy->setText(m_copied ? QStringLiteral("Copied") : QStringLiteral("Copy All"));
}

void TextRecognitionPanel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        m_close();
        return;
    }
    QFrame::keyPressEvent(event);
}

} // namespace vellumix
