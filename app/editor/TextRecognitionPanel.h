#pragma once

#include "text/CancellationToken.h"

#include <QFrame>
#include <QImage>

#include <functional>
#include <memory>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;

namespace vellumix {

class Clipboard;
class EditorDocument;

// The text found in the editor's picture, in an editable field with a copy
// button. Each panel recognises once, off the main thread, from the
// document's picture as it is when the panel opens; closing the panel
// cancels the recognition and a late result is dropped. The text never goes
// back into the document.
class TextRecognitionPanel final : public QFrame {
    Q_OBJECT
public:
    // Runs on a worker thread; throws CancellationError when cancelled and
    // any other exception on failure.
    using Recognizer = std::function<QString(const QImage&, const CancellationToken&)>;
    // The recognition engine of the image core.
    static QString engine(const QImage& image, const CancellationToken& cancellation);

    TextRecognitionPanel(EditorDocument& document, Clipboard& clipboard, Recognizer recognizer,
                         std::function<void()> close, QWidget* parent = nullptr);
    ~TextRecognitionPanel() override;

    bool loading() const { return m_loading; }
    QString text() const;
    QString error() const { return m_error; }
    bool copied() const { return m_copied; }
    QPlainTextEdit* field() const { return m_field; }
    QPushButton* copyButton() const { return m_copy; }
    QLabel* hintLabel() const { return m_hint; }

    void copyAll();

    static inline const QString failureText =
        QStringLiteral("Could not recognize text. Close this panel and try again.");
    static inline const QString emptyHint = QStringLiteral("No text found. Try a clearer image.");
    static inline const QString editHint = QStringLiteral("Edit or select text to copy.");
    static constexpr int panelWidth = 420;
    static constexpr int padding = 20;
    static constexpr int rowSpacing = 14;
    static constexpr int bodyHeight = 240;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* makeHeader();
    QWidget* makeLoadingBody();
    QWidget* makeTextBody();
    void start(const QImage& image, Recognizer recognizer);
    void showText(const QString& text);
    void showError();
    void textEdited();

    Clipboard& m_clipboard;
    std::function<void()> m_close;
    std::shared_ptr<CancellationToken> m_cancellation = std::make_shared<CancellationToken>();
    bool m_loading = true;
    bool m_copied = false;
    QString m_error;
    QStackedWidget* m_bodies = nullptr;
    QLabel* m_errorLabel = nullptr;
    QPlainTextEdit* m_field = nullptr;
    QLabel* m_hint = nullptr;
    QPushButton* m_copy = nullptr;
};

} // namespace vellumix
