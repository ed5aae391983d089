#pragma once

#include "recording/FrameWriter.h"

#include <QWidget>

#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;

namespace vellumix {

class Clipboard;
class Dialogs;

// The window a finished recording opens in: its file, length and size, why
// it ended early if it did, Save (to another name or folder), Copy Path and
// Open Folder, and the setting whether recordings show the pointer.
class RecordingResultView final : public QWidget {
    Q_OBJECT
public:
    RecordingResultView(WrittenRecording file, const QString& message, Dialogs& dialogs,
                        Clipboard& clipboard, QWidget* parent = nullptr);

    // The pointer setting's box, shown `on`; `changed` gets each new value.
    void showPointerSetting(bool on, std::function<void(bool)> changed);

    QString path() const { return m_file.path; }
    QString summary() const;
    // Asks where to keep the recording and moves it there; false when the
    // user cancelled or the move failed (with an alert).
    bool save();
    void copyPath();
    void openFolder();

private:
    void refresh();

    WrittenRecording m_file;
    QString m_message;
    Dialogs& m_dialogs;
    Clipboard& m_clipboard;
    QLabel* m_summary;
    QCheckBox* m_pointer;
};

} // namespace vellumix
