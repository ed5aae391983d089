#include "queue/FolderEntries.h"

#include "api/APIError.h"
#include "queue/FileDescriptor.h"

#include <QUuid>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace vellumix::FolderEntries {

namespace {

// Deeper directories are left in place rather than hold a descriptor per level.
constexpr int maximumDepth = 64;

[[noreturn]] void invalidRequest() {
    throw APIError(QStringLiteral("invalid_request"), QStringLiteral("Invalid request file"));
}

bool removeDirectory(int folder, const QByteArray& name, int depth);

bool removeAt(int folder, const QByteArray& name, int depth) {
    if (::unlinkat(folder, name.constData(), 0) == 0) {
        return true;
    }
    // unlinkat reports EISDIR for a directory on Linux; other systems say EPERM.
    if (errno != EISDIR && errno != EPERM) {
        return false;
    }
    return removeDirectory(folder, name, depth);
}

bool removeDirectory(int folder, const QByteArray& name, int depth) {
    if (depth >= maximumDepth) {
        errno = ELOOP;
        return false;
    }
    FileDescriptor inner(
        ::openat(folder, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!inner.valid()) {
        return false;
    }
    bool removed = true;
    for (const QByteArray& child : names(inner.get())) {
        removed = removeAt(inner.get(), child, depth + 1) && removed;
    }
    return removed && ::unlinkat(folder, name.constData(), AT_REMOVEDIR) == 0;
}

// Returns 0, or the errno of the failure.
int writeAll(int fd, const QByteArray& bytes) {
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n >= 0) {
            done += n;
        } else if (errno != EINTR) {
            return errno;
        }
    }
    return 0;
}

// The file's bytes, refused once they pass `maximumBytes`. Room is made for
// the size seen plus one byte, so a file that grew shows; the full limit is
// taken only then.
QByteArray readAtMost(int file, const QByteArray& name, qint64 size, qint64 maximumBytes) {
    QByteArray bytes(std::min(size, maximumBytes) + 1, Qt::Uninitialized);
    qsizetype filled = 0;
    while (filled <= maximumBytes) {
        if (filled == bytes.size()) {
            bytes.resize(maximumBytes + 1);
        }
        const ssize_t n = ::read(file, bytes.data() + filled, size_t(bytes.size() - filled));
        if (n > 0) {
            filled += n;
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            throw systemError("read", name, errno);
        }
    }
    if (filled > maximumBytes) {
        invalidRequest();
    }
    bytes.truncate(filled);
    return bytes;
}

} // namespace

std::runtime_error systemError(const char* action, const QByteArray& name, int errorNumber) {
    QByteArray text = QByteArray("Could not ") + action;
    if (!name.isEmpty()) {
        text += " \xe2\x80\x9c" + name + "\xe2\x80\x9d";
    }
    return std::runtime_error((text + ": " + std::strerror(errorNumber)).toStdString());
}

QList<QByteArray> names(int folder) {
    QList<QByteArray> result;
    // fdopendir takes the descriptor over, so it gets its own copy; the copy
    // shares the read position, hence the rewind.
    DIR* listing = ::fdopendir(::fcntl(folder, F_DUPFD_CLOEXEC, 0));
    if (listing == nullptr) {
        return result;
    }
    ::rewinddir(listing);
    while (const dirent* entry = ::readdir(listing)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..") {
            result.append(name);
        }
    }
    ::closedir(listing);
    std::sort(result.begin(), result.end());
    return result;
}

std::optional<double> modified(int folder, const QByteArray& name) {
    struct stat status {};
    if (::fstatat(folder, name.constData(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
        return std::nullopt;
    }
    return double(status.st_mtim.tv_sec) + double(status.st_mtim.tv_nsec) / 1e9;
}

QByteArray readRegular(int folder, const QByteArray& name, qint64 maximumBytes) {
    struct stat entry {};
    if (::fstatat(folder, name.constData(), &entry, AT_SYMLINK_NOFOLLOW) != 0) {
        throw systemError("examine", name, errno);
    }
    if (!S_ISREG(entry.st_mode) || entry.st_size > maximumBytes) {
        invalidRequest();
    }
    // The entry may have been swapped since: O_NOFOLLOW refuses a link,
    // O_NONBLOCK keeps a pipe from stalling the open, and the open file itself
    // is checked again.
    FileDescriptor file(::openat(folder, name.constData(),
                                 O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.valid()) {
        if (errno == ELOOP) {
            invalidRequest();
        }
        throw systemError("open", name, errno);
    }
    struct stat opened {};
    if (::fstat(file.get(), &opened) != 0) {
        throw systemError("examine", name, errno);
    }
    if (!S_ISREG(opened.st_mode) || opened.st_size > maximumBytes) {
        invalidRequest();
    }
    return readAtMost(file.get(), name, opened.st_size, maximumBytes);
}

bool remove(int folder, const QByteArray& name) {
    return removeAt(folder, name, 0);
}

void writeAtomically(int folder, const QByteArray& name, const QByteArray& bytes) {
    const QByteArray temporary =
        ".vellumix-" + QUuid::createUuid().toByteArray(QUuid::WithoutBraces) + ".tmp";
    FileDescriptor file(::openat(folder, temporary.constData(),
                                 O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!file.valid()) {
        throw systemError("write", name, errno);
    }
    int error = writeAll(file.get(), bytes);
    if (file.close() != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && ::renameat(folder, temporary.constData(), folder, name.constData()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlinkat(folder, temporary.constData(), 0);
        throw systemError("write", name, error);
    }
}

} // namespace vellumix::FolderEntries
