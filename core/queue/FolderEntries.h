#pragma once

#include <QByteArray>
#include <QList>

#include <optional>
#include <stdexcept>

// Entries of one queue folder, reached through the folder's descriptor by
// name only. No function here follows a symbolic link, opens a device or a
// pipe, or leaves the folder: a link is examined and removed as the link
// itself, and a directory is emptied by a walk that never follows one.
namespace vellumix::FolderEntries {

// A file-system failure, worded for the log and for a response's message.
std::runtime_error systemError(const char* action, const QByteArray& name, int errorNumber);

// Every entry name except "." and "..", in byte order.
QList<QByteArray> names(int folder);

// The entry's own last modification time in seconds since 1970, if it can
// be read.
std::optional<double> modified(int folder, const QByteArray& name);

// The bytes of a regular file of at most `maximumBytes`; reads at most one
// byte more, so a file that grows meanwhile is still refused. Throws APIError
// "invalid_request" for any other kind of entry or a larger file, and
// std::runtime_error when the file-system fails.
QByteArray readRegular(int folder, const QByteArray& name, qint64 maximumBytes);

// Removes a file, a link or a directory with all it holds. Returns false and
// leaves errno when the entry (or part of a directory) could not be removed.
bool remove(int folder, const QByteArray& name);

// Writes `bytes` to a hidden temporary entry with mode 0600 and renames it
// over `name`, so that readers see the old file or the whole new one.
// Throws std::runtime_error; on failure nothing new is left behind.
void writeAtomically(int folder, const QByteArray& name, const QByteArray& bytes);

} // namespace vellumix::FolderEntries
