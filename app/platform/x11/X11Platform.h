#pragma once

#include "platform/Platform.h"

namespace vellumix {

// The X11 services, or null when the X server named by $DISPLAY does not answer.
std::unique_ptr<Platform> createX11Platform();

} // namespace vellumix
