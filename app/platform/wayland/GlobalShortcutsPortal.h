#pragma once

#include <QDBusArgument>
#include <QDBusConnection>
#include <QString>
#include <QVariantMap>

#include <optional>

namespace vellumix {

// The desktop portal's GlobalShortcuts interface: the desktop holds the key
// for the app, lets the user rebind it in its own settings, and reports
// presses on the session's Activated and Deactivated signals.
namespace globalshortcuts {

inline const QString interface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");

// One shortcut as the portal takes and reports it, (sa{sv}).
struct Shortcut {
    QString id;
    QVariantMap properties;
};
QDBusArgument& operator<<(QDBusArgument& out, const Shortcut& shortcut);
const QDBusArgument& operator>>(const QDBusArgument& in, Shortcut& shortcut);
// Makes Shortcut and its list known to the bus; repeating it is harmless.
void registerTypes();

// The reason this desktop has no global shortcuts for apps, or nothing when
// its portal offers them. Blocks for one bus round trip (the portal may be
// started by the bus for it).
std::optional<QString> missingReason(const QDBusConnection& bus);

// Opens a session and binds one shortcut, `id`, asking for `preferredTrigger`
// in the shortcuts format ("CTRL+SHIFT+X"); the desktop may ask the user
// first, and may choose another trigger. Returns the session's object path.
// Blocks its thread, so never the main thread. Throws PlatformError when the
// desktop or the user declines.
QString bind(const QDBusConnection& bus, const QString& id, const QString& description,
             const QString& preferredTrigger);

// `key` (a letter or digit) with `modifiers` in the shortcuts format.
QString trigger(Qt::Key key, Qt::KeyboardModifiers modifiers);

} // namespace globalshortcuts
} // namespace vellumix

Q_DECLARE_METATYPE(vellumix::globalshortcuts::Shortcut)
