#include "capture/CaptureError.h"

namespace vellumix {

const char* CaptureError::what() const noexcept {
    switch (m_kind) {
    case Kind::permission:
        return "Screen recording access is required. Allow Vellumix in System Settings and try "
               "again. Restart the app if needed.";
    case Kind::displayRemoved:
        return "The display or scale changed. Select a new region.";
    }
    return "";
}

} // namespace vellumix
