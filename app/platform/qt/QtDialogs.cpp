#include "platform/qt/QtDialogs.h"

#include "platform/qt/TextPromptDialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QWindow>

namespace vellumix {

namespace {

// "PNG image (*.png)": one filter naming every allowed suffix.
QString nameFilter(const QStringList& suffixes) {
    QStringList patterns;
    for (const QString& suffix : suffixes) {
        patterns.append(QStringLiteral("*.") + suffix);
    }
    return QStringLiteral("%1 image (%2)")
        .arg(suffixes.join(QLatin1Char('/')).toUpper(), patterns.join(QLatin1Char(' ')));
}

// The window a question belongs over: ours that is active, else ours that
// stays above the others and is managed by the window manager (the in-place
// editor after a click on a window beneath it).
const QWidget* askingWindow() {
    if (const QWidget* active = QApplication::activeWindow()) {
        return active;
    }
    for (const QWidget* widget : QApplication::topLevelWidgets()) {
        const Qt::WindowFlags flags = widget->windowFlags();
        if (widget->isVisible() && widget->windowType() == Qt::Window &&
            flags.testFlag(Qt::WindowStaysOnTopHint) &&
            !flags.testFlag(Qt::BypassWindowManagerHint)) {
            return widget;
        }
    }
    return nullptr;
}

// Runs `dialog` over the window it was asked from. Without that relation a
// question asked from the in-place editor, which stays above every window,
// would open unseen beneath it. The relation is the window system's only,
// not ownership: the asking window may close while the question is up.
int execOverAskingWindow(QDialog& dialog) {
    const QWidget* asking = askingWindow();
    if (asking != nullptr) {
        dialog.winId();
        dialog.windowHandle()->setTransientParent(asking->windowHandle());
    }
    return dialog.exec();
}

std::optional<QString> chosenFile(QFileDialog& dialog) {
    if (execOverAskingWindow(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front();
}

QString picturesFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
}

} // namespace

int QtDialogs::alert(const Alert& alert) {
    QMessageBox box(alert.warning ? QMessageBox::Warning : QMessageBox::Information,
                    QStringLiteral("Vellumix"), alert.message, QMessageBox::NoButton);
    box.setInformativeText(alert.informativeText);
    QList<QAbstractButton*> buttons;
    for (const QString& title : alert.buttons) {
        buttons.append(box.addButton(title, QMessageBox::AcceptRole));
    }
    if (!buttons.isEmpty()) {
        box.setDefaultButton(qobject_cast<QPushButton*>(buttons.front()));
    }
    execOverAskingWindow(box);
    return int(buttons.indexOf(box.clickedButton()));
}

std::optional<QString> QtDialogs::savePanel(const QString& suggestedName,
                                            const QStringList& suffixes) {
    QFileDialog dialog(nullptr, QString(), picturesFolder(), nameFilter(suffixes));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!suffixes.isEmpty()) {
        dialog.setDefaultSuffix(suffixes.front());
    }
    dialog.selectFile(suggestedName);
    return chosenFile(dialog);
}

std::optional<QString> QtDialogs::openPanel(const QStringList& suffixes) {
    QFileDialog dialog(nullptr, QString(), picturesFolder(), nameFilter(suffixes));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return chosenFile(dialog);
}

void QtDialogs::about(const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok);
    box.setTextFormat(Qt::RichText);
    const QIcon icon = QApplication::windowIcon();
    if (!icon.isNull()) {
        box.setIconPixmap(icon.pixmap(64));
    }
    execOverAskingWindow(box);
}

std::optional<QString> QtDialogs::textPrompt(const QString& title, const QString& initial) {
    TextPromptDialog dialog(title, initial);
    if (execOverAskingWindow(dialog) != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.text();
}

} // namespace vellumix
