#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QStringList>

#include <memory>

namespace vellumix {

// One Vellumix per user session: two would fight over the hot key and the
// automation folder. The first instance holds a lock file and listens on a
// local socket beside it (both in the user's runtime folder); a later launch
// hands its files, or a plain "reopen", to it and exits.
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

    // Hands `files` (absolute paths; none means "reopen") to the running
    // instance; true once it acknowledged them.
    bool forward(const QStringList& files);

    QString error() const { return m_error; }

signals:
    void filesReceived(const QStringList& files);
    void reopenRequested();

private:
    void accept();
    void read(class QLocalSocket* socket);

    QString m_folder;
    QString m_error;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer m_server;
};

} // namespace vellumix
