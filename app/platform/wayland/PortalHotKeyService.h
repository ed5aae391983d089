#pragma once

#include "platform/HotKeyService.h"

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QVariantMap>

#include <optional>

namespace vellumix {

// The hot key of a Wayland session, held by the desktop through its portal's
// GlobalShortcuts: one shortcut, "capture", bound once; after that the user
// changes it in the desktop's settings, not here. Binding waits for the
// desktop (and maybe the user), so a registration answers at once and a
// later refusal arrives as `registrationFailed`.
class PortalHotKeyService final : public HotKeyService {
    Q_OBJECT
public:
    static constexpr int unavailableStatus = -1;
    static const QString shortcutId, description, rebindReason;

    explicit PortalHotKeyService(QDBusConnection bus);
    ~PortalHotKeyService() override;

    HotKeyRegistration registerHotKey(Qt::Key key, Qt::KeyboardModifiers modifiers) override;
    void unregisterHotKey(int id) override;

private slots:
    void activated(const QDBusObjectPath& session, const QString& shortcut, qulonglong timestamp,
                   const QVariantMap& options);
    void deactivated(const QDBusObjectPath& session, const QString& shortcut, qulonglong timestamp,
                     const QVariantMap& options);

private:
    struct Outcome {
        QString session;
        QString error; // empty when bound
    };

    void bound(int id, const Outcome& outcome);
    void listen(const char* signal, const char* slot);
    bool ours(const QDBusObjectPath& session, const QString& shortcut) const;

    QDBusConnection m_bus;
    std::optional<QString> m_missing; // checked on the first registration
    bool m_checked = false;
    std::optional<int> m_id;
    QString m_session; // empty until the desktop bound the shortcut
    int m_nextId = 1;
};

} // namespace vellumix
