#pragma once

#include "editor/Dialogs.h"

#include <QList>

#include <deque>

namespace vellumix {

// Dialogs answered from scripts, one answer per question in the order asked;
// a question without a scripted answer is cancelled. Records every question.
class FakeDialogs final : public Dialogs {
public:
    struct Asked {
        QString kind; // "alert", "save", "open" or "text"
        QString title;
        QString initial;
        QStringList choices;
    };

    std::deque<int> alertAnswers;
    std::deque<std::optional<QString>> fileAnswers;
    std::deque<std::optional<QString>> textAnswers;
    QList<Asked> asked;

    int alert(const Alert& alert) override {
        asked.append(
            {QStringLiteral("alert"), alert.message, alert.informativeText, alert.buttons});
        return next(alertAnswers, -1);
    }
    std::optional<QString> savePanel(const QString& suggestedName,
                                     const QStringList& suffixes) override {
        asked.append({QStringLiteral("save"), QString(), suggestedName, suffixes});
        return next(fileAnswers, std::optional<QString>());
    }
    std::optional<QString> openPanel(const QStringList& suffixes) override {
        asked.append({QStringLiteral("open"), QString(), QString(), suffixes});
        return next(fileAnswers, std::optional<QString>());
    }
    std::optional<QString> textPrompt(const QString& title, const QString& initial) override {
        asked.append({QStringLiteral("text"), title, initial, {}});
        return next(textAnswers, std::optional<QString>());
    }

private:
    template <typename T> static T next(std::deque<T>& answers, T cancelled) {
        if (answers.empty()) {
            return cancelled;
        }
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

} // namespace vellumix
