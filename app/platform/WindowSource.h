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
    // The window's frame in device pixels as shown on screen; parts off the
    // screen are transparent. Throws PlatformError when it cannot be read.
    virtual QImage windowImage(quint32 id) = 0;
};

} // namespace vellumix
