#pragma once

#include <exception>

namespace vellumix {

// Failures of text recognition. A cancelled recognition throws
// CancellationError instead, never this type.
class TextRecognitionError final : public std::exception {
public:
    enum class Kind {
        invalidImage,      // a null or empty image
        engineUnavailable, // the engine could not load its language data
        recognitionFailed, // the engine gave up on the image
    };

    explicit TextRecognitionError(Kind kind) : m_kind(kind) {}

    Kind kind() const { return m_kind; }
    const char* what() const noexcept override;

private:
    Kind m_kind;
};

} // namespace vellumix
