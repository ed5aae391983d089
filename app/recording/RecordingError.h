#pragma once

#include <QString>

#include <stdexcept>

namespace vellumix {

// Why a recording could not start or go on; the message is a sentence the
// user reads.
class RecordingError final : public std::runtime_error {
public:
    explicit RecordingError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

} // namespace vellumix
