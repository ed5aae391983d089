#pragma once

#include "queue/FileDescriptor.h"

#include <QString>

#include <sys/types.h>

namespace vellumix {

// The automation queue: a root folder holding "requests", where callers drop
// request files, and "responses", where the answers appear. All three must be
// real directories owned by the user the app runs as and closed to everyone
// else. They are opened once, without following a final link, and used only
// through these descriptors from then on, so that a path swapped for a link
// later can never send a read, write or removal outside the queue.
class QueueFolders final {
public:
    static constexpr mode_t folderMode = 0700;

    enum class Use {
        create,   // the app: make missing folders and tighten wider permissions
        existing, // a caller: open what the app made, refuse anything looser
    };

    // $XDG_DATA_HOME/Vellumix/Automation; a relative XDG_DATA_HOME counts as
    // unset, so ~/.local/share is used instead.
    static QString defaultRoot();

    // Throws APIError "unsafe_bridge" when a folder is not a directory, is a
    // link, belongs to a user other than `owner` or (for Use::existing) is
    // open to others; std::runtime_error for other file-system failures.
    static QueueFolders open(const QString& root, Use use, uid_t owner);

    const QString& root() const { return m_root; }
    QString requestsPath() const;
    QString responsesPath() const;
    int requests() const { return m_requests.get(); }
    int responses() const { return m_responses.get(); }

private:
    QueueFolders() = default;

    QString m_root;
    FileDescriptor m_requests;
    FileDescriptor m_responses;
};

} // namespace vellumix
