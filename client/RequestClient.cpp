#include "RequestClient.h"

#include "api/JsonWriter.h"
#include "queue/FileDescriptor.h"
#include "queue/FolderEntries.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QUuid>

#include <cerrno>
#include <poll.h>
#include <stdexcept>
#include <sys/inotify.h>

namespace vellumix {

namespace {

// Responses are small; this only bounds what a stray file could make us hold.
constexpr qint64 maximumResponseBytes = 64 << 20;

// Watches the very folder we hold open, through its descriptor, for entries
// moved or written into it; by its path where /proc is not mounted.
FileDescriptor watchFolder(int folder, const QString& path) {
    FileDescriptor events(::inotify_init1(IN_CLOEXEC | IN_NONBLOCK));
    const QByteArray held = "/proc/self/fd/" + QByteArray::number(folder);
    constexpr uint32_t mask = IN_MOVED_TO | IN_CLOSE_WRITE | IN_ONLYDIR;
    if (!events.valid() ||
        (::inotify_add_watch(events.get(), held.constData(), mask) < 0 &&
         ::inotify_add_watch(events.get(), QFile::encodeName(path).constData(), mask) < 0)) {
        throw FolderEntries::systemError("watch the responses folder", QByteArray(), errno);
    }
    return events;
}

// Waits for the next event or the deadline, and drains what arrived.
void waitForEvents(int events, const QDeadlineTimer& deadline) {
    pollfd watched{events, POLLIN, 0};
    ::poll(&watched, 1, int(std::min<qint64>(deadline.remainingTime(), 1000)));
    char buffer[4096];
    while (::read(events, buffer, sizeof buffer) > 0) {
    }
}

} // namespace

QByteArray RequestClient::send(const QString& operation, const QJsonObject& arguments,
                               std::chrono::milliseconds timeout) {
    const QByteArray name = QUuid::createUuid().toByteArray(QUuid::WithoutBraces) + ".json";
    const FileDescriptor events = watchFolder(m_folders.responses(), m_folders.responsesPath());
    const double created = double(QDateTime::currentMSecsSinceEpoch()) / 1000;
    FolderEntries::writeAtomically(
        m_folders.requests(), name,
        JsonWriter::write(QJsonObject{{QStringLiteral("operation"), operation},
                                      {QStringLiteral("created"), created},
                                      {QStringLiteral("arguments"), arguments}}));
    const QDeadlineTimer deadline(timeout);
    for (;;) {
        // Responses are renamed into place, so one that exists is whole.
        if (FolderEntries::modified(m_folders.responses(), name)) {
            const QByteArray response =
                FolderEntries::readRegular(m_folders.responses(), name, maximumResponseBytes);
            FolderEntries::remove(m_folders.responses(), name);
            return response;
        }
        if (deadline.hasExpired()) {
            FolderEntries::remove(m_folders.requests(), name);
            throw std::runtime_error("No answer from Vellumix in time; is it running?");
        }
        waitForEvents(events.get(), deadline);
    }
}

} // namespace vellumix
