#pragma once

#include "automation/Recordings.h"
#include "automation/ScrollSessions.h"
#include "pins/PinService.h"

#include <QFuture>
#include <QJsonObject>

namespace vellumix {

// The operations an automation request can name, each run on the platform
// services, the capture service and processor, and the pins. Results and
// failures travel in the returned future, or are thrown before it exists;
// caller-fixable failures are APIError. Main thread only.
class AgentOperations final {
public:
    // Recordings take their frames on `steady`; the rest goes by `clock`.
    AgentOperations(PlatformServices services, PinService& pins, const Clock& clock,
                    const Clock& steady, QObject* context);

    QFuture<QJsonObject> perform(const QJsonObject& arguments, const QString& operation);

    // Drops scroll sessions idle for ScrollSessions::idleSeconds.
    void expireSessions() { m_scroll.expire(); }

private:
    using Run = QFuture<QJsonObject> (AgentOperations::*)(const QJsonObject&);
    struct Operation {
        const char* name;
        bool needsPermission;
        Run run;
    };
    static const Operation operations[];

    QFuture<QJsonObject> permissionsStatus(const QJsonObject& arguments);
    QFuture<QJsonObject> displaysList(const QJsonObject& arguments);
    QFuture<QJsonObject> windowsList(const QJsonObject& arguments);
    QFuture<QJsonObject> pin(const QJsonObject& arguments);
    QFuture<QJsonObject> pinClose(const QJsonObject& arguments);
    QFuture<QJsonObject> scrollCancel(const QJsonObject& arguments);
    QFuture<QJsonObject> captureRegion(const QJsonObject& arguments);
    QFuture<QJsonObject> scrollStart(const QJsonObject& arguments);
    QFuture<QJsonObject> scrollSample(const QJsonObject& arguments);
    QFuture<QJsonObject> scrollFinish(const QJsonObject& arguments);
    QFuture<QJsonObject> recordStart(const QJsonObject& arguments);
    QFuture<QJsonObject> recordStop(const QJsonObject& arguments);
    QFuture<QJsonObject> recordCancel(const QJsonObject& arguments);

    PlatformServices m_services;
    PinService& m_pins;
    QObject* m_context;
    ScrollSessions m_scroll;
    Recordings m_recordings;
};

} // namespace vellumix
