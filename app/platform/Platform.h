#pragma once

#include "platform/PlatformServices.h"

#include <memory>

namespace vellumix {

// Owns the real platform services of this session.
class Platform {
public:
    virtual ~Platform() = default;
    virtual PlatformServices services() = 0;

    // The X11 services when Qt runs on X11 and the X server answers;
    // otherwise services that list the displays but grant no screen access
    // (a Wayland session without X, or an offscreen run).
    static std::unique_ptr<Platform> create();
};

} // namespace vellumix
