#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace vellumix {

// The modal text question: a title, a hint on what may be typed, and a
// scrolling plain-text area that starts with the given text and has the
// keyboard focus. Return inserts a line break; OK or Ctrl+Return accepts.
class TextPromptDialog final : public QDialog {
    Q_OBJECT
public:
    TextPromptDialog(const QString& title, const QString& initial, QWidget* parent = nullptr);

    QString text() const;

    static inline const QString hint =
        QStringLiteral("Supports multiple languages and line breaks. Maximum 200 characters.");

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPlainTextEdit* m_edit;
};

} // namespace vellumix
