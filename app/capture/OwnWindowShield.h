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

    bool withdrewAny() const { return !m_hidden.isEmpty(); }
    // Shows the hidden windows again, except those closed or destroyed
    // meanwhile: the app no longer means them to be seen.
    void restore();

    // How long the windows beneath need to repaint the uncovered area before
    // the grab; X has no compositor that would keep their contents.
    static constexpr int settleMilliseconds = 80;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QPointer<QWindow>> m_hidden;
};

} // namespace vellumix
