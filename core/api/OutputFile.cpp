#include "api/OutputFile.h"

#include "api/FileError.h"

#include <QFileInfo>
#include <QUuid>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace vellumix::OutputFile {

namespace {

QByteArray temporaryPath(const QString& path) {
    const QString name = QStringLiteral(".vellumix-%1.tmp")
                             .arg(QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper());
    return QFile::encodeName(QFileInfo(path).absolutePath() + QLatin1Char('/') + name);
}

// Returns 0, or the errno of the first failure after removing what it created.
int writeAll(const QByteArray& file, const QByteArray& bytes) {
    const int fd = ::open(file.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        return errno;
    }
    int error = 0;
    for (qsizetype done = 0; done < bytes.size() && error == 0;) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n >= 0) {
            done += n;
        } else if (errno != EINTR) {
            error = errno;
        }
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(file.constData());
    }
    return error;
}

// Moves `from` to `to` unless `to` exists. renameat2 does it in one step;
// file systems without RENAME_NOREPLACE get a hard link, which also refuses
// an existing name, followed by removing the temporary name.
int moveNoReplace(const QByteArray& from, const QByteArray& to) {
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return errno;
    }
    if (::link(from.constData(), to.constData()) != 0) {
        return errno;
    }
    ::unlink(from.constData());
    return 0;
}

} // namespace

void write(const QString& path, const QByteArray& bytes, bool replace) {
    const QByteArray target = QFile::encodeName(path);
    const QByteArray temporary = temporaryPath(path);
    int error = writeAll(temporary, bytes);
    if (error == 0) {
        if (replace) {
            error = ::rename(temporary.constData(), target.constData()) == 0 ? 0 : errno;
        } else {
            error = moveNoReplace(temporary, target);
        }
        if (error != 0) {
            ::unlink(temporary.constData());
        }
    }
    if (error != 0) {
        throw FileError(path, error);
    }
}

} // namespace vellumix::OutputFile
