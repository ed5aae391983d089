#pragma once

#include <exception>

namespace vellumix {

// Failures of rendering, composition and image coding, and of the long
// document built on them. The message of each case is shown to the user as it
// stands.
class DocumentError final : public std::exception {
public:
    enum class Kind { limit, storageLimit, invalidFrame, render };

    explicit DocumentError(Kind kind) : m_kind(kind) {}

    Kind kind() const { return m_kind; }
    const char* what() const noexcept override;

    friend bool operator==(const DocumentError& a, const DocumentError& b) {
        return a.m_kind == b.m_kind;
    }

private:
    Kind m_kind;
};

} // namespace vellumix
