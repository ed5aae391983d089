#include "selection/CaptureChoice.h"

namespace vellumix {

QString FailedChoice::description() const {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QString();
    }
}

} // namespace vellumix
