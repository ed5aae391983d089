#pragma once

#include "automation/AgentOperations.h"
#include "queue/QueueFolders.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include <optional>
#include <unistd.h>

namespace vellumix {

// Serves the automation queue. Callers drop request files named <uuid>.json
// into `root`/requests; each pass claims a request by deleting it, performs
// its operation and writes <uuid>.json into `root`/responses. Passes run on a
// change in the requests folder at once and every 0.2 seconds as a safety
// net, one at a time, never while a modal dialog or popup runs its own loop.
// Main thread only. The bridge is made once and kept for the life of the
// app; its whole interface to the world is the folder.
class AgentBridge final : public QObject {
    Q_OBJECT
public:
    static constexpr int pollMilliseconds = 200;
    static constexpr int requestsPerPass = 8;
    // Responses nobody collected are removed this long after they were written.
    static constexpr double responseLifetimeSeconds = 120;

    // Builds and checks the folders under `root`, which must belong to
    // `owner`, and starts serving. When they cannot be used it writes one
    // line to the system log and stays idle for good.
    // Requests' ages go by `clock`, the wall clock their files carry;
    // recordings take their frames on `steady`.
    AgentBridge(PlatformServices services, PinService& pins, const Clock& clock,
                const Clock& steady, const QString& root = QueueFolders::defaultRoot(),
                uid_t owner = ::getuid(), QObject* parent = nullptr);

    bool serving() const { return m_folders.has_value(); }

    // One pass over the queue; returns at once while a pass runs already.
    void poll();

signals:
    // After every pass that ran, including passes that found nothing.
    void passFinished();

private:
    static bool userInterfaceBusy();
    QList<QByteArray> requestBatch() const;
    void examineNext();
    QFuture<QJsonObject> handle(const QByteArray& name, bool& claimed);
    void respond(const QByteArray& name, bool claimed, QFuture<QJsonObject> outcome);
    void removeStaleResponses();
    void finishPass();

    const Clock& m_clock;
    std::optional<QueueFolders> m_folders;
    AgentOperations m_operations;
    QTimer m_timer;
    // A child, so the benchmark can silence it to measure the timer alone.
    QFileSystemWatcher m_watcher{this};
    bool m_processing = false;
    // A change or tick arrived during a pass: look again right after it.
    bool m_again = false;
    QList<QByteArray> m_batch;
};

} // namespace vellumix
