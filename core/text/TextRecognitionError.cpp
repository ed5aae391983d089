#include "text/TextRecognitionError.h"

namespace vellumix {

const char* TextRecognitionError::what() const noexcept {
    switch (m_kind) {
    case Kind::invalidImage:
        return "The image is empty, so it has no text to recognize.";
    case Kind::engineUnavailable:
        return "The text recognition engine could not start. Check that its language data is "
               "installed.";
    case Kind::recognitionFailed:
        return "The text recognition engine could not read the image.";
    }
    return "";
}

} // namespace vellumix
