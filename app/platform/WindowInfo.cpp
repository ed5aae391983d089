#include "platform/WindowInfo.h"

#include <QCoreApplication>

namespace vellumix {

bool WindowInfo::isOwn() const {
    return pid != 0 && pid == QCoreApplication::applicationPid();
}

} // namespace vellumix
