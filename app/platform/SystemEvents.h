#pragma once

#include <QObject>

namespace vellumix {

// Changes of the machine and the login session that end work in progress,
// delivered on the main thread. A system that cannot report them sends
// nothing.
class SystemEvents : public QObject {
    Q_OBJECT
signals:
    // The system is about to suspend or hibernate.
    void willSleep();
    // The user's login session stopped being the active one (another user
    // switched in, or the screen was handed to the greeter).
    void sessionBecameInactive();
};

} // namespace vellumix
