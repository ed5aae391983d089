#pragma once

#include "platform/WindowInfo.h"

#include <QImage>
#include <QList>

namespace vellumix {

// The on-screen windows. Main thread only.
class WindowSource {
public:
    virtual ~WindowSource() = default;

    // Front-most first, desktop and unmapped windows left out.
    virtual QList<WindowInfo> windows() const = 0;
    // The window's frame in device pixels. Throws PlatformError when it
    // cannot be read.
    virtual QImage windowImage(quint32 id) = 0;
    // True when windowImage gives a window's own pixels, also where other
    // windows cover it (a compositing manager keeps them); otherwise it reads
    // the screen as shown, and parts off the screen are transparent.
    virtual bool capturesCoveredWindows() const = 0;
};

} // namespace vellumix
