#pragma once

#include "platform/Platform.h"

namespace vellumix {

// True in a Wayland desktop session, where the app must be a Wayland client:
// through XWayland it would see only the X clients.
bool isWaylandSession();

// The Wayland services; their screen-cast tokens live in the app's own
// preferences store.
std::unique_ptr<Platform> createWaylandPlatform();

} // namespace vellumix
