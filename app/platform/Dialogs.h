#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace vellumix {

// Every modal question the app asks. Each call blocks until the user answers
// and runs on the main thread; the Qt implementation is QtDialogs, tests use
// a scripted fake.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    struct Alert {
        QString message;
        QString informativeText;
        // Left to right as the user reads them; the first is the default.
        QStringList buttons = {QStringLiteral("OK")};
        bool warning = false;
    };

    // The index in `buttons` of the one pressed; -1 when the alert was closed
    // without one.
    virtual int alert(const Alert& alert) = 0;

    // A file to write: `suggestedName` is offered, only names ending in one of
    // `suffixes` (without dots, first is the default) may be chosen. Empty
    // when the user cancels.
    virtual std::optional<QString> savePanel(const QString& suggestedName,
                                             const QStringList& suffixes) = 0;

    // An existing file to read, one of `suffixes`; empty when cancelled.
    virtual std::optional<QString> openPanel(const QStringList& suffixes) = 0;

    // The program's name, version and credits: `text` is rich text, shown
    // beside the application's icon until the user closes it.
    virtual void about(const QString& title, const QString& text) = 0;

    // Free text, several lines allowed, starting from `initial`. The answer
    // comes back as typed; empty when cancelled.
    virtual std::optional<QString> textPrompt(const QString& title, const QString& initial) = 0;
};

} // namespace vellumix
