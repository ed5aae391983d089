#pragma once

#include <QString>

#include <stdexcept>

namespace vellumix {

// A failure of a platform service (the X server refused or went away). Its
// message is a sentence the user can read.
class PlatformError final : public std::runtime_error {
public:
    explicit PlatformError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

} // namespace vellumix
