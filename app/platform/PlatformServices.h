#pragma once

#include "platform/DisplaySource.h"
#include "platform/HotKeyService.h"
#include "platform/OverlaySurfaces.h"
#include "platform/PermissionCheck.h"
#include "platform/PointerSource.h"
#include "platform/ScreenSource.h"
#include "platform/SystemEvents.h"
#include "platform/WindowSource.h"
#include "platform/WindowWithdrawal.h"

namespace vellumix {

// The platform services the app uses, by reference; whoever made them (the
// factory, or a test with fakes) keeps them alive longer than their users.
struct PlatformServices {
    DisplaySource& displays;
    ScreenSource& screen;
    WindowSource& windows;
    PermissionCheck& permission;
    HotKeyService& hotKeys;
    SystemEvents& systemEvents;
    WindowWithdrawal& withdrawal;
    OverlaySurfaces& overlays;
    // Where the system tells how the pointer looks; null elsewhere.
    PointerSource* pointer = nullptr;
    // A screen whose images show the pointer, where only the system can draw
    // it (Wayland); null elsewhere.
    ScreenSource* screenWithPointer = nullptr;

    // What a recording reads: its frames, and where to draw the pointer
    // into them when they lack it.
    struct Recorded {
        ScreenSource& screen;
        PointerSource* pointer;
    };
    Recorded recorded(bool withPointer) const {
        if (withPointer && screenWithPointer != nullptr) {
            return {*screenWithPointer, nullptr};
        }
        return {screen, withPointer ? pointer : nullptr};
    }
};

} // namespace vellumix
