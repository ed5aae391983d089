#pragma once

#include "capture/CaptureService.h"
#include "capture/Processor.h"
#include "platform/Clock.h"

#include <QFuture>
#include <QHash>
#include <QJsonObject>

#include <memory>

namespace vellumix {

// The scrolling captures that automation callers run: each session keeps its
// capture service and the processor that stitches its frames, between the
// requests that start, sample, finish or cancel it. The caller scrolls the
// target between samples. Main thread only; futures finish on `context`'s
// thread and are dropped when it goes.
class ScrollSessions final {
public:
    static constexpr qsizetype maximumSessions = 4;
    // A session untouched this long is dropped.
    static constexpr double idleSeconds = 600;

    ScrollSessions(PlatformServices services, const Clock& clock, QObject* context);

    // Captures the first frame; a failure creates no session. Throws APIError
    // "busy" when `maximumSessions` are open.
    QFuture<QJsonObject> start(const CaptureRegion& region);
    // Adds the rows a new frame brings, or says why it was refused.
    QFuture<QJsonObject> sample(const QJsonObject& arguments);
    // Writes the stitched image as ImageAPI::save does and ends the session;
    // on failure the session stays open for another try.
    QFuture<QJsonObject> finish(const QJsonObject& arguments);
    QJsonObject cancel(const QJsonObject& arguments);

    void expire();
    qsizetype count() const { return m_sessions.size(); }

private:
    struct Session {
        std::shared_ptr<CaptureService> service;
        std::shared_ptr<Processor> processor;
        double touched = 0;
        double scale = 1;
    };

    // The session named by "sessionId", touched now so that a failing step
    // still keeps it alive. Throws APIError "not_found".
    std::pair<QString, Session> touchedSession(const QJsonObject& arguments);

    PlatformServices m_services;
    const Clock& m_clock;
    QObject* m_context;
    QHash<QString, Session> m_sessions;
};

} // namespace vellumix
