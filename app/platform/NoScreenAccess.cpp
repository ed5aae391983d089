#include "platform/NoScreenAccess.h"

#include "platform/PlatformError.h"

namespace vellumix {

namespace {

PlatformError noAccess() {
    return PlatformError(QStringLiteral("This session gives no access to the screen."));
}

} // namespace

QImage NoScreenAccess::grabRegion(const DisplayInfo&, const QRect&) {
    throw noAccess();
}

QImage NoScreenAccess::windowImage(quint32) {
    throw noAccess();
}

} // namespace vellumix
