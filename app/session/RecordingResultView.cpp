#include "session/RecordingResultView.h"

#include "platform/Clipboard.h"
#include "platform/Dialogs.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include <cstdio>

namespace vellumix {

namespace {

// Moves `from` to `to`, replacing a file there (the panel asked first) only
// once the whole recording is in place: a rename within a file system, else a
// copy beside `to` renamed over it.
bool moveReplacing(const QString& from, const QString& to) {
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0) {
        return true;
    }
    const QString copy = to + QStringLiteral(".part");
    QFile::remove(copy);
    if (!QFile::copy(from, copy) ||
        std::rename(QFile::encodeName(copy).constData(), QFile::encodeName(to).constData()) != 0) {
        QFile::remove(copy);
        return false;
    }
    QFile::remove(from);
    return true;
}

} // namespace

RecordingResultView::RecordingResultView(WrittenRecording file, const QString& message,
                                         Dialogs& dialogs, Clipboard& clipboard, QWidget* parent)
    : QWidget(parent), m_file(std::move(file)), m_message(message), m_dialogs(dialogs),
      m_clipboard(clipboard) {
    setWindowTitle(QStringLiteral("Recording"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* column = new QVBoxLayout(this);
    m_summary = new QLabel(this);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(m_summary);
    auto* row = new QHBoxLayout;
    const std::pair<QString, std::function<void()>> buttons[] = {
        {QStringLiteral("Save…"),
         [this] {
             save();
         }},
        {QStringLiteral("Copy Path"),
         [this] {
             copyPath();
         }},
        {QStringLiteral("Open Folder"),
         [this] {
             openFolder();
         }},
    };
    for (const auto& [title, act] : buttons) {
        auto* push = new QPushButton(title, this);
        connect(push, &QPushButton::clicked, this, act);
        row->addWidget(push);
    }
    column->addLayout(row);
    m_pointer = new QCheckBox(QStringLiteral("Show the pointer in recordings"), this);
    m_pointer->hide();
    column->addWidget(m_pointer);
    refresh();
}

void RecordingResultView::showPointerSetting(bool on, std::function<void(bool)> changed) {
    m_pointer->setChecked(on);
    connect(m_pointer, &QCheckBox::toggled, this, std::move(changed));
    m_pointer->show();
}

QString RecordingResultView::summary() const {
    QString text = QStringLiteral("%1\n%2 s · %3")
                       .arg(QFileInfo(m_file.path).fileName())
                       .arg(m_file.seconds, 0, 'f', 1)
                       .arg(QLocale().formattedDataSize(m_file.bytes));
    for (const QString& why : {m_file.failure, m_message}) {
        if (!why.isEmpty()) {
            text += QLatin1Char('\n') + why;
        }
    }
    return text;
}

void RecordingResultView::refresh() {
    m_summary->setText(summary());
}

bool RecordingResultView::save() {
    const QFileInfo file(m_file.path);
    const std::optional<QString> chosen =
        m_dialogs.savePanel(file.fileName(), {file.suffix().toLower()});
    if (!chosen || *chosen == m_file.path) {
        return false;
    }
    if (!moveReplacing(m_file.path, *chosen)) {
        m_dialogs.alert({QStringLiteral("The recording could not be saved"),
                         QStringLiteral("It is still at ") + m_file.path,
                         {QStringLiteral("OK")},
                         true});
        return false;
    }
    m_file.path = *chosen;
    refresh();
    return true;
}

void RecordingResultView::copyPath() {
    m_clipboard.setText(m_file.path);
}

void RecordingResultView::openFolder() {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(m_file.path).absolutePath()));
}

} // namespace vellumix
