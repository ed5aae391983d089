#pragma once

#include <QHashFunctions>

#include <exception>

namespace vellumix {

// Why a capture of a region cannot go on. Two errors are equal when their
// kinds are; the message is shown to the user as it stands.
class CaptureError final : public std::exception {
public:
    enum class Kind { permission, displayRemoved };

    explicit CaptureError(Kind kind) : m_kind(kind) {}

    Kind kind() const { return m_kind; }
    const char* what() const noexcept override;

    friend bool operator==(const CaptureError& a, const CaptureError& b) {
        return a.m_kind == b.m_kind;
    }
    friend size_t qHash(const CaptureError& error, size_t seed = 0) {
        return qHash(int(error.m_kind), seed);
    }

private:
    Kind m_kind;
};

} // namespace vellumix
