#include "fakes/WidgetTestApp.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/TextPromptDialog.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace vellumix {
namespace {

// Answers the next text prompt once it is up: `answer` gets the open dialog.
void whenPromptOpens(std::function<void(TextPromptDialog&, QPlainTextEdit&)> answer) {
    QTimer::singleShot(0, [answer] {
        auto* dialog = qobject_cast<TextPromptDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        answer(*dialog, *dialog->findChild<QPlainTextEdit*>());
    });
}

TEST(QtServicesTest, textPromptStartsFromTheInitialTextAndReturnsWhatWasTyped) {
    QtDialogs dialogs;
    whenPromptOpens([&](TextPromptDialog& dialog, QPlainTextEdit& edit) {
        EXPECT_EQ(edit.toPlainText(), QStringLiteral("old"));
        edit.setPlainText(QStringLiteral("two\nlines"));
        QTest::keyClick(&edit, Qt::Key_Return, Qt::ControlModifier);
        if (dialog.isVisible()) {
            ADD_FAILURE() << "Ctrl+Return did not answer";
            dialog.reject();
        }
    });
    EXPECT_EQ(dialogs.textPrompt(QStringLiteral("Edit text / number"), QStringLiteral("old")),
              QStringLiteral("two\nlines"));

    whenPromptOpens([](TextPromptDialog& dialog, QPlainTextEdit&) { dialog.reject(); });
    EXPECT_EQ(dialogs.textPrompt(QStringLiteral("Add text"), QString()), std::nullopt);
}

} // namespace
} // namespace vellumix
