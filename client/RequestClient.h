#pragma once

#include "queue/QueueFolders.h"

#include <QByteArray>
#include <QJsonObject>

#include <chrono>

namespace vellumix {

// Sends one request through the automation queue of a running Vellumix and
// waits for its answer: the request is written whole under a fresh UUID name,
// and the response of the same name is read, then removed, as soon as the
// folder reports it.
class RequestClient final {
public:
    explicit RequestClient(QueueFolders folders) : m_folders(std::move(folders)) {}

    // The response file's bytes. Throws std::runtime_error when the request
    // cannot be written, the response cannot be read, or none comes within
    // `timeout`; an unclaimed request is then withdrawn.
    QByteArray send(const QString& operation, const QJsonObject& arguments,
                    std::chrono::milliseconds timeout);

private:
    QueueFolders m_folders;
};

} // namespace vellumix
