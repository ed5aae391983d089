#pragma once

#include <QString>

#include <exception>
#include <string>

namespace vellumix {

// A file-system failure while writing a file; what() names the file and the
// operating system's reason.
class FileError final : public std::exception {
public:
    FileError(const QString& path, int errorNumber);

    int errorNumber() const { return m_errorNumber; }
    const char* what() const noexcept override { return m_message.c_str(); }

private:
    int m_errorNumber;
    std::string m_message;
};

} // namespace vellumix
