#pragma once

#include "platform/PermissionCheck.h"
#include "platform/ScreenSource.h"
#include "platform/WindowSource.h"
#include "platform/WindowWithdrawal.h"

namespace vellumix {

// What a session without access to the screen offers: no permission, no
// windows, grabs that fail, and nothing shown to wait for.
class NoScreenAccess final : public ScreenSource,
                             public WindowSource,
                             public PermissionCheck,
                             public WindowWithdrawal {
public:
    QImage grabRegion(const DisplayInfo& display, const QRect& pixels) override;
    QList<WindowInfo> windows() const override { return {}; }
    QImage windowImage(quint32 id) override;
    bool capturesCoveredWindows() const override { return false; }
    bool screenRecordingGranted() const override { return false; }
    QString howToGrant() const override {
        return QStringLiteral("Run Vellumix in an X11 or Wayland desktop session to record the "
                              "screen");
    }
    bool waitUntilGone(const QList<quintptr>&, QDeadlineTimer) override { return true; }
};

} // namespace vellumix
