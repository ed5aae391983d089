#pragma once

#include <QList>
#include <QPointer>
#include <QRectF>
#include <QWindow>

namespace vellumix {

// Keeps this app's own windows out of a screen grab. Layouts already place
// panels beside a region; a window that still overlaps it is hidden for the
// grab and shown again afterwards. Main thread only.
class OwnWindowShield final {
public:
    // Hides every visible top-level window of this app whose frame meets
    // `globalRect` (global points).
    explicit OwnWindowShield(const QRectF& globalRect);

    bool withdrewAny() const { return !m_hidden.isEmpty(); }
    // Shows the hidden windows again; windows closed meanwhile stay closed.
    void restore();

    // How long the windows beneath need to repaint the uncovered area before
    // the grab; X has no compositor that would keep their contents.
    static constexpr int settleMilliseconds = 80;

private:
    QList<QPointer<QWindow>> m_hidden;
};

} // namespace vellumix
