#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>
#include <QVariantMap>

namespace vellumix {

// A call to the desktop portal that answers later, through a Request object's
// Response signal (after a dialog, perhaps). The call blocks its thread, which
// runs its own event loop meanwhile, so it must not be the main thread while
// the app's windows need it.
struct PortalAnswer {
    enum class Outcome { granted, refused, failed };
    Outcome outcome = Outcome::failed;
    QVariantMap results;
};

// Calls `method` of `interface` on the portal with `arguments`, whose last one
// is the options map: it gets a fresh "handle_token". Throws PlatformError
// when the portal is missing or does not answer within `waitMilliseconds`.
PortalAnswer callPortal(const QDBusConnection& bus, const QString& interface, const QString& method,
                        QVariantList arguments, int waitMilliseconds);

// A fresh token for the portal's handle and session options.
QString portalToken();

// A call to the portal that answers at once (`waitMilliseconds` at most).
QDBusMessage callDesktop(const QDBusConnection& bus, const QString& interface,
                         const QString& method, const QVariantList& arguments,
                         int waitMilliseconds);
// The portal's answer to "version" of `interface`: an error message when the
// portal, or that interface of it, is missing.
QDBusMessage portalVersion(const QDBusConnection& bus, const QString& interface);
// Ends a portal session (a screen cast, a shortcut binding); nothing to wait for.
void closePortalSession(const QDBusConnection& bus, const QString& session);

} // namespace vellumix
