#include "api/FileError.h"

#include <QFileInfo>

#include <cstring>

namespace vellumix {

FileError::FileError(const QString& path, int errorNumber)
    : m_errorNumber(errorNumber),
      m_message(QStringLiteral("The file \u201c%1\u201d could not be saved: %2.")
                    .arg(QFileInfo(path).fileName(), QString::fromLocal8Bit(strerror(errorNumber)))
                    .toStdString()) {}

} // namespace vellumix
