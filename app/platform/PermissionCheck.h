#pragma once

#include <QString>

namespace vellumix {

// Whether the app may read the screen. Never asks the user.
class PermissionCheck {
public:
    virtual ~PermissionCheck() = default;
    virtual bool screenRecordingGranted() const = 0;
    // What gives the app the screen, for a capture refused for want of it.
    virtual QString howToGrant() const = 0;
    // Where the desktop asks the user (Wayland's portal), a refusal there
    // stands until the user tries again: this is that new try, and the next
    // capture asks again. Nothing to do where nobody is asked.
    virtual void askAgain() {}
    // True where the desktop asks the user before the app may record.
    virtual bool desktopAsks() const { return false; }
};

} // namespace vellumix
