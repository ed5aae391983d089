#pragma once

#include <exception>

namespace vellumix {

// Why a capture of a region cannot go on; the message is shown to the user as
// it stands.
class CaptureError final : public std::exception {
public:
    enum class Kind { permission, displayRemoved };

    explicit CaptureError(Kind kind) : m_kind(kind) {}

    Kind kind() const { return m_kind; }
    const char* what() const noexcept override;

private:
    Kind m_kind;
};

} // namespace vellumix
