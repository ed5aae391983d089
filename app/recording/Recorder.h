#pragma once

#include "platform/Clock.h"
#include "platform/DisplaySource.h"
#include "platform/PointerSource.h"
#include "platform/ScreenSource.h"
#include "recording/FrameWriter.h"

#include <QFuture>
#include <QObject>
#include <QTimer>

#include <memory>

namespace vellumix {

class EncoderThread;

// A finished recording: its file, the frames lost on the way and, when it
// ended by itself, why.
struct RecordingResult {
    WrittenRecording file;
    qint64 droppedFrames = 0;
    QString message;
};

// Records one region of one display into a FrameWriter. Frames are due at
// whole steps of 1 / fps seconds on the clock; each is grabbed on a worker
// thread and queued for the encoder's own thread. A step whose grab is still
// running, or whose frame finds the queue full, is dropped and counted, so a
// slow encoder never holds up the app. A vanished display, a failed grab or a
// failed write end the recording with the file as far as it is whole, as
// does reaching `maximumSeconds`. Main thread only.
class Recorder final : public QObject {
    Q_OBJECT
public:
    static constexpr double maximumSeconds = 600;
    static inline const QString limitMessage =
        QStringLiteral("The recording stopped at its limit of 10 minutes.");
    static inline const QString displayMessage =
        QStringLiteral("The display being recorded went away.");

    // `pixels` is display-local device pixels within `display`, of the
    // writer's size. With a `pointer`, frames show the pointer where it was
    // when they were read.
    Recorder(const DisplayInfo& display, const QRect& pixels, int fps,
             std::unique_ptr<FrameWriter> writer, DisplaySource& displays, ScreenSource& screen,
             const Clock& clock, PointerSource* pointer = nullptr, QObject* parent = nullptr);
    ~Recorder() override;

    // Takes the first frame now, the future being its grab, and the next
    // ones on a timer.
    QFuture<void> start();
    // One turn of the timer: ends the recording when it must, else grabs the
    // frame that is due, if any; the future is that grab.
    QFuture<void> tick();
    // Stops taking frames and completes the file; the same future however
    // often it is asked, also after the recording ended by itself.
    QFuture<RecordingResult> stop();
    // Stops and removes the file.
    void cancel();

    bool ended() const { return m_ending; }
    // Frames waiting for the encoder.
    std::size_t queuedFrames() const;
    double elapsedSeconds() const { return m_clock.now() - m_start; }

signals:
    // The recording ended by itself; stop() gives its result.
    void endedAlone();

private:
    bool displayPresent() const;
    // Why the recording cannot go on; empty while it can.
    QString endReason() const;
    void deliver(const QImage& frame, qint64 step);
    void end(const QString& message);

    DisplayInfo m_display;
    QRect m_pixels;
    int m_fps;
    DisplaySource& m_displays;
    ScreenSource& m_screen;
    const Clock& m_clock;
    PointerSource* m_pointer;
    std::unique_ptr<EncoderThread> m_encoder;
    QTimer m_timer;
    double m_start = 0;
    qint64 m_lastStep = -1;
    qint64 m_dropped = 0;
    QFuture<void> m_grab = QtFuture::makeReadyFuture();
    bool m_ending = false;
    QFuture<RecordingResult> m_result;
};

} // namespace vellumix
