#pragma once

#include "platform/Clock.h"
#include "platform/PlatformServices.h"
#include "recording/Recorder.h"

#include <QFuture>
#include <QJsonObject>

#include <memory>

namespace vellumix {

// The screen recording automation callers run: one at a time, from the
// request that starts it to the one that stops or cancels it. A recording
// that ended by itself (its time limit, a failure) keeps its result for the
// stop request until another recording starts. Main thread only.
class Recordings final {
public:
    static constexpr int defaultFps = 30;

    Recordings(PlatformServices services, const Clock& clock, QObject* context);
    ~Recordings();

    // {"display", "rect", "output", "format" ("mp4" or "gif", else the
    // output's extension), "fps", "pointer" (false leaves the pointer out)};
    // answers {"recordingId"}. Throws APIError
    // "busy" while a recording runs, the region's and the output's errors
    // otherwise.
    QJsonObject start(const QJsonObject& arguments);
    // Completes the file; answers its "path", "size" in bytes, "frames",
    // "duration" in seconds, "droppedFrames" and, when the recording ended by
    // itself, its "message".
    QFuture<QJsonObject> stop(const QJsonObject& arguments);
    QJsonObject cancel(const QJsonObject& arguments);

private:
    // Throws APIError "not_found" unless "recordingId" names the recording.
    void checkId(const QJsonObject& arguments) const;

    PlatformServices m_services;
    const Clock& m_clock;
    QObject* m_context;
    QString m_id;
    std::unique_ptr<Recorder> m_recorder;
};

} // namespace vellumix
