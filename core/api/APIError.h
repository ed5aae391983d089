#pragma once

#include <QString>

#include <exception>
#include <string>

namespace vellumix {

// An error a caller of the image API can act on: a stable snake-case code for
// programs and a fixed English sentence for people. what() is the sentence.
class APIError final : public std::exception {
public:
    APIError(QString code, QString message);

    const QString& code() const { return m_code; }
    const QString& message() const { return m_message; }
    const char* what() const noexcept override { return m_utf8.c_str(); }

private:
    QString m_code;
    QString m_message;
    std::string m_utf8;
};

} // namespace vellumix
