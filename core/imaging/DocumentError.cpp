#include "imaging/DocumentError.h"

namespace vellumix {

const char* DocumentError::what() const noexcept {
    switch (m_kind) {
    case Kind::limit:
        return "The 30,000-pixel height or 90-megapixel limit was reached. Save the captured "
               "portion.";
    case Kind::storageLimit:
        return "The 64 MiB capture storage limit was reached. Save the captured portion.";
    case Kind::invalidFrame:
        return "Invalid image dimensions";
    case Kind::render:
        return "Could not render or save the image. Check available memory and disk space.";
    }
    return "";
}

} // namespace vellumix
