#pragma once

#include "platform/HotKeyService.h"

namespace vellumix {

// The hot-key service of a session with neither an X server nor Wayland
// (offscreen): every registration fails with a reason the user can read.
class NoHotKeys final : public HotKeyService {
public:
    // The status of every registration: no X error code applies.
    static constexpr int noServerStatus = -1;

    HotKeyRegistration registerHotKey(Qt::Key key, Qt::KeyboardModifiers modifiers) override;
    void unregisterHotKey(int) override {}
};

} // namespace vellumix
