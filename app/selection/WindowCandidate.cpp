#include "selection/WindowCandidate.h"

namespace vellumix {

QString WindowCandidate::name() const {
    if (!window.title.isEmpty()) {
        return window.title;
    }
    if (!window.appName.isEmpty()) {
        return window.appName;
    }
    return QStringLiteral("Window");
}

} // namespace vellumix
