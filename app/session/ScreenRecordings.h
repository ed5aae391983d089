#pragma once

#include "capture/CaptureRegion.h"
#include "platform/Clock.h"
#include "platform/PlatformServices.h"
#include "session/RecordingControlView.h"
#include "session/RecordingResultView.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <memory>
#include <vector>

namespace vellumix {

class CaptureSession;
class Clipboard;
class Defaults;
class Dialogs;
class Recorder;
struct RecordingResult;

// The recordings the user starts from the overlay (V) or the menus, one at a
// time: a new file beside the screenshots, a floating control with the
// elapsed time and Stop while it runs (beside the region, so never in the
// video; left out when no place is free), and a result window once it ends,
// by Stop, the hot key, Escape on the control or by itself. Main thread only.
class ScreenRecordings final : public QObject {
    Q_OBJECT
public:
    struct Services {
        PlatformServices platform;
        Defaults& preferences;
        Dialogs& dialogs;
        Clipboard& clipboard;
        const Clock& clock;
        // Where new recordings go: beside the screenshots.
        QString folder;
    };

    explicit ScreenRecordings(Services services, QObject* parent = nullptr);
    ~ScreenRecordings() override;

    // Records what `session`'s overlay chooses to record, and lets its
    // capture commands (the hot key among them) stop a running recording.
    void serve(CaptureSession& session);
    // Starts recording `region`; an alert says why when it cannot.
    void start(const CaptureRegion& region);
    // Ends the running recording; its result window opens once the file is
    // complete.
    void stop();
    bool running() const;
    bool showsPointer() const;

    RecordingControlView* control() const { return m_control; }
    RecordingResultView* result() const { return m_result; }

    // Whether recordings show the pointer (on unless set false) and their
    // format's name ("mp4" unless set to "gif").
    static inline const QString pointerKey = QStringLiteral("recordingShowsPointer");
    static inline const QString formatKey = QStringLiteral("recordingFormat");
    static constexpr int fps = 30;
    // How long quitting waits for a running recording's file.
    static constexpr int quitMilliseconds = 10'000;

    // A file in `folder` that does not exist yet: Capture.SUFFIX, else
    // Capture 2.SUFFIX and on.
    static QString newFile(const QString& folder, const QString& suffix);
    // Where the control goes for a recording of `region` (global points):
    // below the region, above it, or on another display; none when no place
    // is free.
    static std::optional<QRect> controlFrame(const CaptureRegion& region,
                                             const QList<DisplayInfo>& displays);

signals:
    // A recording started or ended.
    void changed();

private:
    void showControl(const CaptureRegion& region);
    void finished(const RecordingResult& result);

    Services m_services;
    std::unique_ptr<Recorder> m_recorder;
    bool m_stopping = false;
    bool m_quitting = false;
    QPointer<RecordingControlView> m_control;
    QPointer<RecordingResultView> m_result;
    // Every result window, closed or not, as none has another owner.
    std::vector<QPointer<RecordingResultView>> m_results;
    QTimer m_tick; // the control's elapsed time
};

} // namespace vellumix
