#pragma once

#include "shell/LaunchRequest.h"
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QObject>

#include <memory>

namespace vellumix {

// One Vellumix per user session: two would fight over the hot key and the
// automation folder. The first instance holds a lock file and listens on a
// local socket beside it (both in the user's runtime folder); a later launch
// hands its request (a capture, files, or a plain "reopen") to it and exits.
class SingleInstance final : public QObject {
    Q_OBJECT
public:
    // `folder` holds the lock and the socket; empty means the user's runtime
    // folder ($XDG_RUNTIME_DIR).
    explicit SingleInstance(const QString& folder = {}, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Becomes the running instance when no other holds the lock. False when
    // another instance runs (or the folder is unusable, with `error` set).
    bool claim();

    // Hands `request` to the running instance; true once it took it.
    bool forward(const LaunchRequest& request);
    // The same, tried once: false at once when no instance listens.
    bool handOver(const LaunchRequest& request);

    QString error() const { return m_error; }

signals:
    void requestReceived(const vellumix::LaunchRequest& request);

private:
    void accept();
    void read(QLocalSocket* socket);
    bool send(QLocalSocket& socket, const LaunchRequest& request);

    QString m_folder;
    QString m_error;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer m_server;
};

} // namespace vellumix
