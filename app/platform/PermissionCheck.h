#pragma once

namespace vellumix {

// Whether the app may read the screen. Never asks the user.
class PermissionCheck {
public:
    virtual ~PermissionCheck() = default;
    virtual bool screenRecordingGranted() const = 0;
};

} // namespace vellumix
