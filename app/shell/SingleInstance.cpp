#include "shell/SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

namespace vellumix {

namespace {

// A second launch right after the first may find the lock taken before the
// socket listens; it keeps trying for this long.
constexpr int forwardTimeoutMs = 5000;
constexpr qint64 maxMessageBytes = 1 << 20;

QString socketPath(const QString& folder) {
    return folder + QStringLiteral("/vellumix.socket");
}

} // namespace

SingleInstance::SingleInstance(const QString& folder, QObject* parent)
    : QObject(parent),
      m_folder(folder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)
                                : folder) {
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::accept);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::claim() {
    if (m_folder.isEmpty() || !QDir().mkpath(m_folder)) {
        m_error = QStringLiteral("No runtime folder for the instance lock");
        return false;
    }
    auto lock = std::make_unique<QLockFile>(m_folder + QStringLiteral("/vellumix.lock"));
    lock->setStaleLockTime(0); // only a dead owner makes a lock stale
    if (!lock->tryLock(0)) {
        return false;
    }
    // A socket left by a crashed instance would make listen() fail.
    QLocalServer::removeServer(socketPath(m_folder));
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server.listen(socketPath(m_folder))) {
        m_error = m_server.errorString();
        return false;
    }
    m_lock = std::move(lock);
    return true;
}

bool SingleInstance::forward(const LaunchRequest& request) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < forwardTimeoutMs) {
        QLocalSocket socket;
        socket.connectToServer(socketPath(m_folder));
        if (socket.waitForConnected(1000)) {
            return send(socket, request);
        }
        QThread::msleep(50);
    }
    m_error = QStringLiteral("Could not reach the running Vellumix");
    return false;
}

bool SingleInstance::handOver(const LaunchRequest& request) {
    QLocalSocket socket;
    socket.connectToServer(socketPath(m_folder));
    return socket.waitForConnected(200) && send(socket, request);
}

bool SingleInstance::send(QLocalSocket& socket, const LaunchRequest& request) {
    socket.write(request.encoded());
    socket.waitForBytesWritten(1000);
    // The running instance answers "1" once it took the request, "0" for one
    // it cannot read.
    if (!socket.waitForReadyRead(2000)) {
        m_error = QStringLiteral("The running Vellumix did not answer");
        return false;
    }
    if (socket.read(1) != "1") {
        m_error = QStringLiteral("The running Vellumix could not read the request");
        return false;
    }
    return true;
}

void SingleInstance::accept() {
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { read(socket); });
    }
}

void SingleInstance::read(QLocalSocket* socket) {
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > maxMessageBytes) {
            socket->abort();
        }
        return;
    }
    const std::optional<LaunchRequest> request =
        LaunchRequest::decoded(socket->readLine(maxMessageBytes));
    socket->write(request ? "1" : "0");
    socket->flush();
    socket->disconnectFromServer();
    if (request) {
        emit requestReceived(*request);
    }
}

} // namespace vellumix
