#pragma once

#include "platform/Dialogs.h"

namespace vellumix {

// Dialogs as Qt widgets: QMessageBox, QFileDialog and TextPromptDialog,
// application-modal, each shown over the window that asked.
class QtDialogs final : public Dialogs {
public:
    int alert(const Alert& alert) override;
    std::optional<QString> savePanel(const QString& suggestedName,
                                     const QStringList& suffixes) override;
    std::optional<QString> openPanel(const QStringList& suffixes) override;
    void about(const QString& title, const QString& text) override;
    std::optional<QString> textPrompt(const QString& title, const QString& initial) override;
};

} // namespace vellumix
