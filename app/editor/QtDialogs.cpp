#include "editor/QtDialogs.h"

#include "editor/TextPromptDialog.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

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

std::optional<QString> chosenFile(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
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
                    QStringLiteral("Vellumix"), alert.message, QMessageBox::NoButton, m_parent);
    box.setInformativeText(alert.informativeText);
    QList<QAbstractButton*> buttons;
    for (const QString& title : alert.buttons) {
        buttons.append(box.addButton(title, QMessageBox::AcceptRole));
    }
    if (!buttons.isEmpty()) {
        box.setDefaultButton(qobject_cast<QPushButton*>(buttons.front()));
    }
    box.exec();
    return int(buttons.indexOf(box.clickedButton()));
}

std::optional<QString> QtDialogs::savePanel(const QString& suggestedName,
                                            const QStringList& suffixes) {
    QFileDialog dialog(m_parent, QString(), picturesFolder(), nameFilter(suffixes));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!suffixes.isEmpty()) {
        dialog.setDefaultSuffix(suffixes.front());
    }
    dialog.selectFile(suggestedName);
    return chosenFile(dialog);
}

std::optional<QString> QtDialogs::openPanel(const QStringList& suffixes) {
    QFileDialog dialog(m_parent, QString(), picturesFolder(), nameFilter(suffixes));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return chosenFile(dialog);
}

std::optional<QString> QtDialogs::textPrompt(const QString& title, const QString& initial) {
    TextPromptDialog dialog(title, initial, m_parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.text();
}

} // namespace vellumix
