#pragma once

#include <QDBusConnection>
#include <QString>

#include <optional>

namespace vellumix {

// The desktop portal's GlobalShortcuts interface: the desktop holds the key
// for the app, lets the user rebind it in its own settings, and reports
// presses on the session's Activated and Deactivated signals.
namespace globalshortcuts {

inline const QString interface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");

// The reason this desktop has no global shortcuts for apps, or nothing when
// its portal offers them. Blocks for one bus round trip (the portal may be
// started by the bus for it).
std::optional<QString> missingReason(const QDBusConnection& bus);

// What the desktop bound: its own description of the trigger, which may
// differ from the preferred one.
struct Binding {
    QString session; // the portal session's object path
    QString trigger;
};

// Opens a session and binds one shortcut, `id`, asking for `preferredTrigger`
// in the shortcuts format ("CTRL+SHIFT+X"); the desktop may ask the user
// first. Blocks its thread, so never the main thread. Throws PlatformError
// when the desktop or the user declines.
Binding bind(const QDBusConnection& bus, const QString& id, const QString& description,
             const QString& preferredTrigger);

void closeSession(const QDBusConnection& bus, const QString& session);

// `key` (a letter or digit) with `modifiers` in the shortcuts format.
QString trigger(Qt::Key key, Qt::KeyboardModifiers modifiers);

} // namespace globalshortcuts
} // namespace vellumix
