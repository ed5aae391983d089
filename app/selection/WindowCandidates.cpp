#include "selection/WindowCandidates.h"

#include "platform/PlatformError.h"

namespace vellumix::windowcandidates {

QList<WindowInfo> capturable(const QList<WindowInfo>& windows) {
    QList<WindowInfo> result;
    for (const WindowInfo& window : windows) {
        const bool hasApplication = window.pid != 0 || !window.appName.isEmpty();
        if (window.layer == 0 && hasApplication && !window.isOwn() &&
            window.frame.width() >= minimumSide && window.frame.height() >= minimumSide) {
            result.append(window);
        }
    }
    return result;
}

QList<WindowInfo> capturable(const WindowSource& source) {
    try {
        return capturable(source.windows());
    } catch (const PlatformError&) {
        return {};
    }
}

QList<WindowCandidate> on(const DisplayInfo& display, const QList<WindowInfo>& windows) {
    QList<WindowCandidate> result;
    const QRectF& frame = display.frame;
    for (const WindowInfo& window : windows) {
        const QRectF& w = window.frame;
        if (w.left() >= frame.left() && w.top() >= frame.top() && w.right() <= frame.right() &&
            w.bottom() <= frame.bottom()) {
            result.append(WindowCandidate{window, w.translated(-frame.topLeft())});
        }
    }
    return result;
}

} // namespace vellumix::windowcandidates
