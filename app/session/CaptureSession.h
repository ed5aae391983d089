#pragma once

#include "capture/CaptureService.h"
#include "capture/Processor.h"
#include "editor/EditorDocument.h"
#include "platform/Clock.h"
#include "selection/CaptureChoice.h"
#include "selection/SelectionController.h"
#include "session/InPlaceEditing.h"
#include "session/PermissionGuide.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <optional>

namespace vellumix {

class CaptureControlsController;
class SeeThroughFrames;

// The app's one capture controller: starts a selection, turns the choice into
// an editor (a region in place over the screen, windows in the editor window,
// a colour on the clipboard) and extends a region into a scrolling capture,
// sampling it until the user finishes, a frame fails, the time limit passes
// or the machine sleeps. Views read the published values and redraw on
// `changed`. Main thread only; every asynchronous step notes the capture's
// generation and drops its result when a newer capture replaced it.
class CaptureSession final : public QObject {
    Q_OBJECT
public:
    struct Services {
        PlatformServices platform;
        EditorServices editor;
        InPlaceEditing& inPlace;
        // Monotonic seconds, for the time limit.
        const Clock& clock;
    };

    explicit CaptureSession(Services services, QObject* parent = nullptr);
    ~CaptureSession() override;

    // Brings the editor window forward; installed by the app shell.
    std::function<void()> presentEditor;
    // Records what the overlay chose to record; installed by the app.
    std::function<void(const CaptureRegion&)> record;
    // Stops a running recording; false when none runs. The hot key and the
    // capture commands stop a recording rather than capture.
    std::function<bool()> stopRecording;

    void start(bool single = true);
    // Opens the overlay to choose what to record.
    void startRecording();
    // Whether the editor's content may be replaced now; asks about unsaved
    // edits first.
    bool prepareToReplace();
    void discard();
    void finishEditing();
    void expandEditor();
    void extendSelection();
    void resume();
    void stop(const QString& reason);
    void showFailure(const QString& message);
    // An image the user opened becomes the document to edit; it cannot be
    // extended by scrolling. A file asks before its edits are discarded; an
    // image from the clipboard counts as unsaved from the start.
    void openImage(const QImage& image, bool requiresSave);
    // Held while the app shows a question of its own (the Open panel), so
    // that the menus and the hot key wait for it.
    void setBusy(bool busy);

    // Published.
    const QString& status() const { return m_status; }
    const QString& detail() const { return m_detail; }
    EditorDocument* editor() const { return m_editor; }
    bool canExtend() const { return m_canExtend; }
    const QImage& preview() const { return m_preview; }
    qint64 height() const { return m_height; }
    bool running() const { return m_running; }
    bool busy() const { return m_busy; }
    bool paused() const { return m_paused; }

    const std::optional<CaptureRegion>& selectedRegion() const { return m_selectedRegion; }
    CaptureControlsController* captureControls() const { return m_captureControls.get(); }
    SelectionController& selector() { return m_selector; }
    PermissionGuide& permissionGuide() { return m_permissionGuide; }

    // Sampling pauses this long between steps; a step's own time comes on top.
    static constexpr int samplingMilliseconds = 200;
    static constexpr double timeLimitSeconds = 600;
    static constexpr const char* historyKey = "capture.lastRegion.v1";

    struct Texts {
        static const QString ready, readyDetail, startDetail, permissionStatus, permissionDetail;
        static const QString selecting, canceled, copied, colorFailed, failure;
        static const QString captureComplete, finished, timeLimit, stoppedPrefix, sleeping,
            inactive;
        static const QString startFailed, scrolling, scrollingDetail, capturing, paused,
            resumeDetail, stopped, editorFailed, saveQuestion, saveDetail, captureSaveDetail;
        static const QStringList saveButtons;
    };

signals:
    void changed();

private:
    void choiceMade(CaptureChoice choice);
    void regionSelected(RegionChoice choice);
    void windowsSelected(WindowsChoice choice);
    void colorSelected(const ColorChoice& choice);
    void scrollingStarted(std::shared_ptr<CaptureService> service);
    void startLoop();
    void loopRound(quint64 loop);
    void scheduleRound(quint64 loop);
    QFuture<void> capture();
    void frameProcessed(const ProcessingResult& result);
    void assembled(const QImage& image, const QString& reason);
    void assemblyFailed(const QString& message);
    void openEditor();
    bool confirmDiscard();
    void closeInPlace();
    void setEditor(EditorDocument* editor);
    EditorDocument* newDocument(const QImage& image, double scale);
    void hideEditorWindows();
    void setStatus(const QString& status, const QString& detail);

    Services m_services;
    QString m_status;
    QString m_detail;
    QPointer<EditorDocument> m_editor;
    bool m_canExtend = false;
    std::optional<CaptureRegion> m_selectedRegion;
    QImage m_backdrop; // of the selected region's display
    QImage m_preview;
    qint64 m_height = 0;
    bool m_running = false;
    bool m_busy = false;
    bool m_paused = false;
    bool m_recordingNext = false; // the next overlay chooses what to record
    PermissionGuide m_permissionGuide;
    SelectionController m_selector;
    std::unique_ptr<CaptureControlsController> m_captureControls;
    std::shared_ptr<CaptureService> m_service;
    // Where the desktop places the panel itself; else frames come straight.
    std::shared_ptr<SeeThroughFrames> m_seeThrough;
    std::unique_ptr<Processor> m_processor;
    // The running sampling loop; rounds of an older one end by themselves.
    quint64 m_loop = 0;
    quint64 m_generation = 0;
    double m_sessionStarted = 0;
};

} // namespace vellumix
