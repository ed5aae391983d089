#pragma once

#include "platform/PlatformServices.h"

#include <memory>

namespace vellumix {

// Owns the real platform services of this session.
class Platform {
public:
    virtual ~Platform() = default;
    virtual PlatformServices services() = 0;

    // Before the application object: in a Wayland session Qt runs as a
    // Wayland client unless the user chose otherwise.
    static void chooseQtPlatform();
    // The Wayland services when Qt runs on Wayland; the X11 services when it
    // runs on X11 and the X server answers; otherwise services that list the
    // displays but grant no screen access (an offscreen run).
    static std::unique_ptr<Platform> create();
};

} // namespace vellumix
