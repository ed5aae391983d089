#pragma once

#include "platform/PermissionCheck.h"
#include "platform/x11/X11Connection.h"

namespace vellumix {

// The X server lets a client read the screen unless an access-control
// extension forbids it; a 1 × 1 read of the root window shows which.
class X11Permission final : public PermissionCheck {
public:
    explicit X11Permission(const X11Connection& connection) : m_connection(connection) {}
    bool screenRecordingGranted() const override;
    // X11 has no per-app switch: a session on X gives the screen.
    QString howToGrant() const override {
        return QStringLiteral("Run Vellumix in an X11 session to record the screen");
    }

private:
    const X11Connection& m_connection;
};

} // namespace vellumix
