#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QWindow>

namespace vellumix {

// Keeps this app's own windows out of a screen grab. Layouts already place
// panels beside a region; a window that still overlaps it is hidden for the
// grab and shown again afterwards. Main thread only.
class OwnWindowShield final : public QObject {
public:
    // Hides every visible top-level window of this app whose frame meets
    // `globalRect` (global points).
    explicit OwnWindowShield(const QRectF& globalRect);

    bool withdrewAny() const { return !m_native.isEmpty(); }
    // The native handles of the windows hidden, for the platform to tell
    // when they have really left the screen.
    const QList<quintptr>& withdrawnWindows() const { return m_native; }
    // Shows the hidden windows again, except those closed or destroyed
    // meanwhile: the app no longer means them to be seen.
    void restore();

    // How long the windows beneath need to repaint the uncovered area once
    // the withdrawn windows are gone; X has no compositor that would keep
    // their contents.
    static constexpr int settleMilliseconds = 80;
    // How long to wait at most for the withdrawn windows to leave the
    // screen: a window manager that has not taken a frame down by then is
    // stuck, and the capture goes on rather than hang with it.
    static constexpr int goneLimitMilliseconds = 2000;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QPointer<QWindow>> m_hidden;
    QList<quintptr> m_native;
};

} // namespace vellumix
