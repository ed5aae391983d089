#include "platform/qt/TextPromptDialog.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vellumix {

namespace {

constexpr QSize editSize(320, 100);
constexpr int editFontSize = 16;

} // namespace

TextPromptDialog::TextPromptDialog(const QString& title, const QString& initial, QWidget* parent)
    : QDialog(parent), m_edit(new QPlainTextEdit(initial, this)) {
    setWindowTitle(title);
    auto* heading = new QLabel(title, this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    auto* informative = new QLabel(hint, this);
    informative->setWordWrap(true);

    QFont font = m_edit->font();
    font.setPointSize(editFontSize);
    m_edit->setFont(font);
    m_edit->setFixedSize(editSize);
    m_edit->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_edit->setTabChangesFocus(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_edit->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(informative);
    layout->addWidget(m_edit);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_edit->setFocus();
    m_edit->moveCursor(QTextCursor::End);
}

// Return belongs to the text; Ctrl+Return answers OK from the keyboard.
bool TextPromptDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            key->modifiers().testFlag(Qt::ControlModifier)) {
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QString TextPromptDialog::text() const {
    return m_edit->toPlainText();
}

} // namespace vellumix
