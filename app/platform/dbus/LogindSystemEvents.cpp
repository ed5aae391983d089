#include "platform/dbus/LogindSystemEvents.h"

#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QLoggingCategory>

namespace vellumix {

namespace {

Q_LOGGING_CATEGORY(systemEventsLog, "vellumix.systemevents")

const QString service = QStringLiteral("org.freedesktop.login1");
const QString managerPath = QStringLiteral("/org/freedesktop/login1");
const QString managerInterface = QStringLiteral("org.freedesktop.login1.Manager");
const QString sessionInterface = QStringLiteral("org.freedesktop.login1.Session");
const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
const QString activeProperty = QStringLiteral("Active");

} // namespace

LogindSystemEvents::LogindSystemEvents(const QDBusConnection& bus, quint32 pid) : m_bus(bus) {
    if (!m_bus.isConnected()) {
        qCWarning(systemEventsLog,
                  "No system bus: sleep and session changes will not end captures.");
        return;
    }
    m_bus.connect(service, managerPath, managerInterface, QStringLiteral("PrepareForSleep"), this,
                  SLOT(prepareForSleep(bool)));
    findSession(pid);
}

void LogindSystemEvents::findSession(quint32 pid) {
    QDBusMessage call = QDBusMessage::createMethodCall(service, managerPath, managerInterface,
                                                       QStringLiteral("GetSessionByPID"));
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call << pid), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *w;
        if (reply.isError()) {
            qCWarning(systemEventsLog,
                      "No login session for this process (%s): session changes "
                      "will not end captures.",
                      qPrintable(reply.error().message()));
            return;
        }
        watchSession(reply.value().path());
    });
}

void LogindSystemEvents::watchSession(const QString& path) {
    m_session = path;
    m_bus.connect(service, path, propertiesInterface, QStringLiteral("PropertiesChanged"), this,
                  SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
}

void LogindSystemEvents::prepareForSleep(bool start) {
    // The same signal says false on resume.
    if (start) {
        emit willSleep();
    }
}

void LogindSystemEvents::propertiesChanged(const QString& interface, const QVariantMap& changed,
                                           const QStringList& invalidated) {
    if (interface != sessionInterface) {
        return;
    }
    if (changed.contains(activeProperty)) {
        setActive(changed.value(activeProperty).toBool());
    } else if (invalidated.contains(activeProperty)) {
        readActive();
    }
}

// logind may announce only that the property changed, without its value.
void LogindSystemEvents::readActive() {
    QDBusMessage call = QDBusMessage::createMethodCall(service, m_session, propertiesInterface,
                                                       QStringLiteral("Get"));
    auto* watcher = new QDBusPendingCallWatcher(
        m_bus.asyncCall(call << sessionInterface << activeProperty), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<QDBusVariant> reply = *w;
        if (!reply.isError()) {
            setActive(reply.value().variant().toBool());
        }
    });
}

void LogindSystemEvents::setActive(bool active) {
    const bool wasActive = m_active;
    m_active = active;
    if (wasActive && !active) {
        emit sessionBecameInactive();
    }
}

} // namespace vellumix
