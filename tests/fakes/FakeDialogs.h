#pragma once

#include "platform/Dialogs.h"

#include <QList>

#include <deque>

namespace vellumix {

// Dialogs answered from scripts in the order asked; a question without a
// scripted answer is cancelled. Records every question.
class FakeDialogs final : public Dialogs {
public:
    struct Asked {
        QString kind; // "alert", "save", "open", "about" or "text"
        QString title;
        QString initial; // the alert's informative text, the suggested file name
        QStringList choices;
    };
    std::deque<int> alertAnswers;
    std::deque<std::optional<QString>> fileAnswers;
    std::deque<std::optional<QString>> textAnswers;
    QList<Asked> asked;

    int alert(const Alert& a) override {
        return ask({"alert", a.message, a.informativeText, a.buttons}, alertAnswers, -1);
    }
    std::optional<QString> savePanel(const QString& name, const QStringList& suffixes) override {
        return ask({"save", {}, name, suffixes}, fileAnswers, {});
    }
    std::optional<QString> openPanel(const QStringList& suffixes) override {
        return ask({"open", {}, {}, suffixes}, fileAnswers, {});
    }
    void about(const QString& title, const QString& text) override {
        asked.append({"about", title, text, {}});
    }
    std::optional<QString> textPrompt(const QString& title, const QString& initial) override {
        return ask({"text", title, initial, {}}, textAnswers, {});
    }

private:
    template <typename T> T ask(Asked question, std::deque<T>& answers, T cancelled) {
        asked.append(std::move(question));
        if (answers.empty()) {
            return cancelled;
        }
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

} // namespace vellumix
