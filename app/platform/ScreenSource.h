#pragma once

#include "platform/DisplayInfo.h"

#include <QImage>

namespace vellumix {

// Still images of the screen in device pixels, as Format_RGBA8888_Premultiplied
// sRGB images. Safe to call from any thread, so grabs can run off the main
// thread; `display` is passed by value for that reason. Throws PlatformError
// when the screen cannot be read.
class ScreenSource {
public:
    virtual ~ScreenSource() = default;

    // `pixels` is display-local (device pixels, top-left origin) and lies
    // within the display.
    virtual QImage grabRegion(const DisplayInfo& display, const QRect& pixels) = 0;
};

} // namespace vellumix
