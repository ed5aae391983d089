#pragma once

#include "editor/Dialogs.h"

class QWidget;

namespace vellumix {

// Dialogs as Qt widgets: QMessageBox, QFileDialog and TextPromptDialog, each
// modal to `parent` when one is given.
class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : m_parent(parent) {}

    int alert(const Alert& alert) override;
    std::optional<QString> savePanel(const QString& suggestedName,
                                     const QStringList& suffixes) override;
    std::optional<QString> openPanel(const QStringList& suffixes) override;
    std::optional<QString> textPrompt(const QString& title, const QString& initial) override;

private:
    QWidget* m_parent;
};

} // namespace vellumix
