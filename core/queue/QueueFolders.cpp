#include "queue/QueueFolders.h"

#include "api/APIError.h"
#include "queue/FolderEntries.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace vellumix {

namespace {

[[noreturn]] void unsafe() {
    throw APIError(QStringLiteral("unsafe_bridge"),
                   QStringLiteral("Invalid local queue owner/type"));
}

// Creates every missing folder on the way to `path` with the queue's mode, as
// `mkdir -p -m 0700` would; existing folders are left as they are.
void makePath(const QString& path) {
    QString partial;
    for (const QString& part : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        partial += QLatin1Char('/') + part;
        if (::mkdir(QFile::encodeName(partial).constData(), QueueFolders::folderMode) != 0 &&
            errno != EEXIST) {
            throw FolderEntries::systemError("create", QFile::encodeName(partial), errno);
        }
    }
}

// Opens `name` in `parent` (or the absolute `name` when parent is AT_FDCWD) as
// a directory without following a final link, and checks what it is.
FileDescriptor openFolder(int parent, const QString& name, QueueFolders::Use use, uid_t owner) {
    const QByteArray encoded = QFile::encodeName(name);
    if (use == QueueFolders::Use::create && parent != AT_FDCWD &&
        ::mkdirat(parent, encoded.constData(), QueueFolders::folderMode) != 0 && errno != EEXIST) {
        throw FolderEntries::systemError("create", encoded, errno);
    }
    FileDescriptor folder(
        ::openat(parent, encoded.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!folder.valid()) {
        if (errno == ELOOP || errno == ENOTDIR) {
            unsafe();
        }
        throw FolderEntries::systemError("open", encoded, errno);
    }
    struct stat status {};
    if (::fstat(folder.get(), &status) != 0) {
        throw FolderEntries::systemError("examine", encoded, errno);
    }
    if (!S_ISDIR(status.st_mode) || status.st_uid != owner) {
        unsafe();
    }
    if (use == QueueFolders::Use::existing && (status.st_mode & 0077) != 0) {
        unsafe();
    }
    if (use == QueueFolders::Use::create && ::fchmod(folder.get(), QueueFolders::folderMode) != 0) {
        throw FolderEntries::systemError("protect", encoded, errno);
    }
    return folder;
}

} // namespace

QString QueueFolders::defaultRoot() {
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (!data.startsWith(QLatin1Char('/'))) {
        data = QDir::homePath() + QStringLiteral("/.local/share");
    }
    return QDir::cleanPath(data + QStringLiteral("/Vellumix/Automation"));
}

QueueFolders QueueFolders::open(const QString& root, Use use, uid_t owner) {
    if (use == Use::create) {
        makePath(root);
    }
    QueueFolders folders;
    folders.m_root = root;
    const FileDescriptor rootFolder = openFolder(AT_FDCWD, root, use, owner);
    folders.m_requests = openFolder(rootFolder.get(), QStringLiteral("requests"), use, owner);
    folders.m_responses = openFolder(rootFolder.get(), QStringLiteral("responses"), use, owner);
    return folders;
}

QString QueueFolders::requestsPath() const {
    return m_root + QStringLiteral("/requests");
}

QString QueueFolders::responsesPath() const {
    return m_root + QStringLiteral("/responses");
}

} // namespace vellumix
