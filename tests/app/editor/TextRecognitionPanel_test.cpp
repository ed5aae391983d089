#include "EditorTestSupport.h"
#include "editor/TextRecognitionPanel.h"
#include "text/TextRecognitionError.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <atomic>
#include <stdexcept>

namespace vellumix {
namespace {

class TextRecognitionPanelTest : public EditorTest {
protected:
    std::unique_ptr<TextRecognitionPanel> open(TextRecognitionPanel::Recognizer recognizer) {
        return std::make_unique<TextRecognitionPanel>(*document, clipboard, std::move(recognizer),
                                                      [this] { ++closes; });
    }
    static TextRecognitionPanel::Recognizer answering(QString text) {
        return [text](const QImage&, const CancellationToken&) {
            return text;
        };
    }

    int closes = 0;
};

TEST_F(TextRecognitionPanelTest, emptyResultThenTypingThenCopying) {
    auto panel = open(answering(QString()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !panel->loading(); }, 10000));
    EXPECT_EQ(panel->hintLabel()->text(), TextRecognitionPanel::emptyHint);
    EXPECT_FALSE(panel->copyButton()->isEnabled());

    QTest::keyClicks(panel->field(), QStringLiteral("x"));
    EXPECT_EQ(panel->hintLabel()->text(), TextRecognitionPanel::editHint);
    EXPECT_TRUE(panel->copyButton()->isEnabled());
    clipboard.refuse = true;
    panel->copyButton()->click();
    EXPECT_EQ(panel->copyButton()->text(), QStringLiteral("Copy All"));
    clipboard.refuse = false;
    panel->copyButton()->click();
    EXPECT_EQ(clipboard.text, QStringLiteral("x"));
    EXPECT_EQ(panel->copyButton()->text(), QStringLiteral("Copied"));
    QTest::keyClicks(panel->field(), QStringLiteral("y"));
    EXPECT_EQ(panel->copyButton()->text(), QStringLiteral("Copy All"));

    QTest::keyClick(panel->field(), Qt::Key_Escape);
    EXPECT_EQ(closes, 1);
}

TEST_F(TextRecognitionPanelTest, failuresEndInOneMessage) {
    auto failed = open([](const QImage&, const CancellationToken&) -> QString {
        throw std::runtime_error("engine trouble");
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !failed->loading(); }, 10000));
    EXPECT_EQ(failed->error(), TextRecognitionPanel::failureText);

    document = std::make_unique<EditorDocument>(QImage(), 1.0, false, false, services());
    auto unrendered = open(answering(QStringLiteral("never")));
    EXPECT_FALSE(unrendered->loading());
    EXPECT_EQ(unrendered->error(), TextRecognitionPanel::failureText);
    // The panel's engine is the image core's, which refuses a null image.
    EXPECT_THROW(TextRecognitionPanel::engine(QImage(), CancellationToken()), TextRecognitionError);
}

TEST_F(TextRecognitionPanelTest, closingCancelsAndTheLateResultTouchesNothing) {
    std::atomic<bool> sawCancellation = false;
    std::atomic<bool> started = false;
    auto panel = open([&](const QImage&, const CancellationToken& token) {
        started = true;
        while (!token.isCancelled()) {
            QThread::msleep(5);
        }
        sawCancellation = true;
        return QStringLiteral("late");
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return started.load(); }, 10000));
    panel.reset();
    ASSERT_TRUE(QTest::qWaitFor([&] { return sawCancellation.load(); }, 10000));
    QCoreApplication::processEvents();
    EXPECT_TRUE(clipboard.text.isEmpty());
    EXPECT_EQ(document->message(), makeDocument()->message());
}

} // namespace
} // namespace vellumix
