#include "platform/wayland/PortalHotKeyService.h"

#include "platform/wayland/GlobalShortcutsPortal.h"
#include "platform/wayland/PortalRequest.h"

#include <QPointer>
#include <QtConcurrent>

namespace vellumix {

const QString PortalHotKeyService::shortcutId = QStringLiteral("capture");
const QString PortalHotKeyService::description = QStringLiteral("Capture an area of the screen");
const QString PortalHotKeyService::rebindReason =
    QStringLiteral("The desktop keeps this shortcut: change it in its keyboard settings.");

PortalHotKeyService::PortalHotKeyService(QDBusConnection bus) : m_bus(std::move(bus)) {}

PortalHotKeyService::~PortalHotKeyService() {
    if (!m_session.isEmpty()) {
        closePortalSession(m_bus, m_session);
    }
}

HotKeyRegistration PortalHotKeyService::registerHotKey(Qt::Key key,
                                                       Qt::KeyboardModifiers modifiers) {
    if (!std::exchange(m_checked, true)) {
        m_missing = globalshortcuts::missingReason(m_bus);
        if (!m_missing) {
            listen("Activated", SLOT(activated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
            listen("Deactivated",
                   SLOT(deactivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
        }
    }
    if (m_missing) {
        return HotKeyRegistration{0, unavailableStatus, *m_missing, true};
    }
    // The portal binds a shortcut once per session and takes a preferred
    // trigger only then; a second choice here would not reach the key.
    if (m_id) {
        return HotKeyRegistration{0, unavailableStatus, rebindReason, false};
    }
    const int id = m_nextId++;
    m_id = id;
    const QString trigger = globalshortcuts::trigger(key, modifiers);
    // The worker hands back the error's text: a thread pool's future would
    // keep only a generic wrapper of the exception.
    QtConcurrent::run([bus = m_bus, trigger]() -> Outcome {
        try {
            return {globalshortcuts::bind(bus, shortcutId, description, trigger), QString()};
        } catch (const std::exception& error) {
            return {QString(), QString::fromUtf8(error.what())};
        }
    }).then(this, [this, id](const Outcome& outcome) { bound(id, outcome); });
    return HotKeyRegistration{id, 0, QString(), false};
}

void PortalHotKeyService::bound(int id, const Outcome& outcome) {
    if (m_id != id) {
        if (outcome.error.isEmpty()) {
            closePortalSession(m_bus, outcome.session);
        }
    } else if (outcome.error.isEmpty()) {
        m_session = outcome.session;
    } else {
        m_id.reset();
        emit registrationFailed(id, outcome.error);
    }
}

void PortalHotKeyService::unregisterHotKey(int id) {
    if (m_id != id) {
        return;
    }
    m_id.reset();
    if (!m_session.isEmpty()) {
        closePortalSession(m_bus, std::exchange(m_session, QString()));
    }
}

void PortalHotKeyService::listen(const char* signal, const char* slot) {
    // The bus finds the slot by its signature's type names, and a type is
    // known by name only once registered: before the first use of it in
    // the process the connection would fail.
    qRegisterMetaType<QDBusObjectPath>();
    m_bus.connect(QStringLiteral("org.freedesktop.portal.Desktop"),
                  QStringLiteral("/org/freedesktop/portal/desktop"), globalshortcuts::interface,
                  QLatin1String(signal), this, slot);
}

bool PortalHotKeyService::ours(const QDBusObjectPath& session, const QString& shortcut) const {
    return m_id && session.path() == m_session && shortcut == shortcutId;
}

void PortalHotKeyService::activated(const QDBusObjectPath& session, const QString& shortcut,
                                    qulonglong, const QVariantMap&) {
    if (ours(session, shortcut)) {
        emit hotKeyPressed(*m_id);
    }
}

void PortalHotKeyService::deactivated(const QDBusObjectPath& session, const QString& shortcut,
                                      qulonglong, const QVariantMap&) {
    if (ours(session, shortcut)) {
        emit hotKeyReleased(*m_id);
    }
}

} // namespace vellumix
