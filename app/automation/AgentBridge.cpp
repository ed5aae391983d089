#include "automation/AgentBridge.h"

#include "api/APIError.h"
#include "api/JsonWriter.h"
#include "automation/AgentRequest.h"
#include "queue/FolderEntries.h"

#include <QApplication>

#include <syslog.h>

namespace vellumix {

namespace {

QJsonObject failure(const QString& code, const QString& message) {
    return {{QStringLiteral("ok"), false},
            {QStringLiteral("error"),
             QJsonObject{{QStringLiteral("code"), code}, {QStringLiteral("message"), message}}}};
}

QJsonObject outcomeResponse(QFuture<QJsonObject>& outcome) {
    try {
        return {{QStringLiteral("ok"), true}, {QStringLiteral("result"), outcome.result()}};
    } catch (const APIError& error) {
        return failure(error.code(), error.message());
    } catch (const std::exception& error) {
        return failure(QStringLiteral("operation_failed"), QString::fromUtf8(error.what()));
    } catch (...) {
        return failure(QStringLiteral("operation_failed"),
                       QStringLiteral("The operation failed for an unknown reason."));
    }
}

} // namespace

AgentBridge::AgentBridge(PlatformServices services, PinService& pins, const Clock& clock,
                         const Clock& steady, const QString& root, uid_t owner, QObject* parent)
    : QObject(parent), m_clock(clock), m_operations(services, pins, clock, steady, this) {
    try {
        m_folders = QueueFolders::open(root, QueueFolders::Use::create, owner);
    } catch (const std::exception& error) {
        syslog(LOG_WARNING, "Vellumix local API unavailable: %s", error.what());
        return;
    }
    connect(&m_timer, &QTimer::timeout, this, &AgentBridge::poll);
    m_timer.start(pollMilliseconds);
    // The watcher only triggers passes; it never decides what is read.
    m_watcher.addPath(m_folders->requestsPath());
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &AgentBridge::poll);
}

// A modal dialog or popup runs its own event loop; the pass waits until it
// ends rather than act behind the user's back while they are asked something.
bool AgentBridge::userInterfaceBusy() {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        return false;
    }
    return QApplication::activeModalWidget() != nullptr ||
           QApplication::activePopupWidget() != nullptr;
}

void AgentBridge::poll() {
    if (!serving()) {
        return;
    }
    if (m_processing || userInterfaceBusy()) {
        m_again = m_processing;
        return;
    }
    m_processing = true;
    m_again = false;
    m_operations.expireSessions();
    m_batch = requestBatch();
    if (m_batch.size() == requestsPerPass) {
        m_again = true;
    }
    examineNext();
}

// Request files in name order, so that behaviour does not hang on the
// folder's listing order. Other names are passed over without counting, so
// stray files can never crowd out real requests.
QList<QByteArray> AgentBridge::requestBatch() const {
    QList<QByteArray> batch;
    for (const QByteArray& name : FolderEntries::names(m_folders->requests())) {
        if (AgentRequest::idOfFileName(name)) {
            batch.append(name);
            if (batch.size() == requestsPerPass) {
                break;
            }
        }
    }
    return batch;
}

void AgentBridge::examineNext() {
    if (m_batch.isEmpty()) {
        finishPass();
        return;
    }
    const QByteArray name = m_batch.takeFirst();
    auto claimed = std::make_shared<bool>(false);
    handle(name, *claimed).then(this, [this, name, claimed](QFuture<QJsonObject> outcome) {
        respond(name, *claimed, outcome);
        examineNext();
    });
}

// Reads and claims the request, then starts its operation. Failures before
// the operation travel in the future like the operation's own.
QFuture<QJsonObject> AgentBridge::handle(const QByteArray& name, bool& claimed) {
    try {
        const int requests = m_folders->requests();
        const QByteArray bytes =
            FolderEntries::readRegular(requests, name, AgentRequest::maximumBytes);
        if (!FolderEntries::remove(requests, name)) {
            throw FolderEntries::systemError("claim", name, errno);
        }
        claimed = true;
        const AgentRequest request = AgentRequest::parse(bytes, m_clock.now());
        return m_operations.perform(request.arguments, request.operation);
    } catch (...) {
        return QtFuture::makeExceptionalFuture<QJsonObject>(std::current_exception());
    }
}

void AgentBridge::respond(const QByteArray& name, bool claimed, QFuture<QJsonObject> outcome) {
    const QJsonObject response = outcomeResponse(outcome);
    // A refused entry (a directory, a link, a file too large) is removed
    // here; a claimed one is gone already, and removing its name again could
    // take a new request of the same name.
    if (!claimed) {
        FolderEntries::remove(m_folders->requests(), name);
    }
    try {
        FolderEntries::writeAtomically(m_folders->responses(), name, JsonWriter::write(response));
    } catch (const std::exception&) {
        // Nobody could be told; the caller's own time-out covers it.
    }
}

void AgentBridge::removeStaleResponses() {
    const int responses = m_folders->responses();
    const double now = m_clock.now();
    for (const QByteArray& name : FolderEntries::names(responses)) {
        const std::optional<double> written = FolderEntries::modified(responses, name);
        if (written && now - *written > responseLifetimeSeconds) {
            FolderEntries::remove(responses, name);
        }
    }
}

void AgentBridge::finishPass() {
    removeStaleResponses();
    m_processing = false;
    if (m_again) {
        QTimer::singleShot(0, this, &AgentBridge::poll);
    }
    emit passFinished();
}

} // namespace vellumix
