#pragma once

#include "platform/SystemEvents.h"

#include <QDBusConnection>
#include <QVariantMap>

namespace vellumix {

// System events from logind: its manager's PrepareForSleep signal, and the
// Active property of the login session that `pid` belongs to. Without the
// bus, or without a session for the process, it logs once and sends nothing
// of what it cannot see.
class LogindSystemEvents final : public SystemEvents {
    Q_OBJECT
public:
    // `bus` is the system bus in the app; tests pass a private one.
    LogindSystemEvents(const QDBusConnection& bus, quint32 pid);

private slots:
    void prepareForSleep(bool start);
    void propertiesChanged(const QString& interface, const QVariantMap& changed,
                           const QStringList& invalidated);

private:
    void findSession(quint32 pid);
    void watchSession(const QString& path);
    void readActive();
    void setActive(bool active);

    QDBusConnection m_bus;
    QString m_session;
    bool m_active = true;
};

} // namespace vellumix
