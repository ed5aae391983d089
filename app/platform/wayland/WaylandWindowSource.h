#pragma once

#include "platform/DisplaySource.h"
#include "platform/ScreenSource.h"
#include "platform/WindowSource.h"

namespace vellumix {

// Wayland gives clients no list of other windows. sway tells them over its
// IPC socket ($SWAYSOCK); elsewhere the list fails with a reason rather than
// look empty. A window's image is the screen where it lies.
class WaylandWindowSource final : public WindowSource {
public:
    WaylandWindowSource(QString swaySocket, const DisplaySource& displays, ScreenSource& screen);

    QList<WindowInfo> windows() const override;
    QImage windowImage(quint32 id) override;
    bool capturesCoveredWindows() const override { return false; }

private:
    QString m_swaySocket;
    const DisplaySource& m_displays;
    ScreenSource& m_screen;
};

} // namespace vellumix
