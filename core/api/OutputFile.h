#pragma once

#include <QByteArray>
#include <QString>

// Writes a whole file so that no reader ever sees it half written: the bytes go
// to a temporary file in the target's folder, which is then renamed into place.
namespace vellumix::OutputFile {

// With `replace` an existing file at `path` is replaced atomically; without
// it the call fails with EEXIST if a file is there by the time the new one is
// moved into place, and the existing file is left alone. Throws FileError; on
// failure nothing is left behind.
void write(const QString& path, const QByteArray& bytes, bool replace);

} // namespace vellumix::OutputFile
