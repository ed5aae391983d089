#include "platform/wayland/GlobalShortcutsPortal.h"

#include "platform/PlatformError.h"
#include "platform/wayland/PortalRequest.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>

namespace vellumix::globalshortcuts {

namespace {

constexpr int quickMilliseconds = 5'000;
// Binding may wait for the user in the desktop's dialog.
constexpr int dialogMilliseconds = 120'000;

PortalAnswer ask(const QDBusConnection& bus, const QString& method, const QVariantList& arguments,
                 int waitMilliseconds) {
    const PortalAnswer answer = callPortal(bus, interface, method, arguments, waitMilliseconds);
    if (answer.outcome == PortalAnswer::Outcome::refused) {
        throw PlatformError(QStringLiteral("The desktop's shortcut dialog was declined"));
    }
    if (answer.outcome == PortalAnswer::Outcome::failed) {
        throw PlatformError(
            QStringLiteral("The desktop could not bind the shortcut (%1)").arg(method));
    }
    return answer;
}

// A desktop may answer without binding what it was asked to.
void requireBound(const QVariantMap& results, const QString& id) {
    QList<Shortcut> shortcuts;
    results.value(QStringLiteral("shortcuts")).value<QDBusArgument>() >> shortcuts;
    for (const Shortcut& shortcut : shortcuts) {
        if (shortcut.id == id) {
            return;
        }
    }
    throw PlatformError(QStringLiteral("The desktop bound no shortcut \"%1\"").arg(id));
}

} // namespace

QDBusArgument& operator<<(QDBusArgument& out, const Shortcut& shortcut) {
    out.beginStructure();
    out << shortcut.id << shortcut.properties;
    out.endStructure();
    return out;
}

const QDBusArgument& operator>>(const QDBusArgument& in, Shortcut& shortcut) {
    in.beginStructure();
    in >> shortcut.id >> shortcut.properties;
    in.endStructure();
    return in;
}

void registerTypes() {
    qDBusRegisterMetaType<Shortcut>();
    qDBusRegisterMetaType<QList<Shortcut>>();
}

std::optional<QString> missingReason(const QDBusConnection& bus) {
    const QDBusMessage reply = portalVersion(bus, interface);
    if (reply.type() != QDBusMessage::ErrorMessage) {
        return std::nullopt;
    }
    if (reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown")) {
        return QStringLiteral("No desktop portal runs in this session, and a Wayland desktop "
                              "lets no app hold a global shortcut without one.");
    }
    return QStringLiteral("This desktop's portal offers no global shortcuts (GlobalShortcuts), "
                          "and a Wayland desktop lets no app hold one without it.");
}

QString bind(const QDBusConnection& bus, const QString& id, const QString& description,
             const QString& preferredTrigger) {
    registerTypes();
    const QString session =
        ask(bus, QStringLiteral("CreateSession"),
            {QVariantMap{{QStringLiteral("session_handle_token"), portalToken()}}},
            quickMilliseconds)
            .results.value(QStringLiteral("session_handle"))
            .toString();
    const QList<Shortcut> shortcuts{{id,
                                     {{QStringLiteral("description"), description},
                                      {QStringLiteral("preferred_trigger"), preferredTrigger}}}};
    try {
        const PortalAnswer bound = ask(bus, QStringLiteral("BindShortcuts"),
                                       {QVariant::fromValue(QDBusObjectPath(session)),
                                        QVariant::fromValue(shortcuts), QString(), QVariantMap()},
                                       dialogMilliseconds);
        requireBound(bound.results, id);
    } catch (const PlatformError&) {
        closePortalSession(bus, session);
        throw;
    }
    return session;
}

QString trigger(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    static const struct {
        Qt::KeyboardModifier modifier;
        const char* name;
    } names[] = {{Qt::ControlModifier, "CTRL"},
                 {Qt::AltModifier, "ALT"},
                 {Qt::ShiftModifier, "SHIFT"},
                 {Qt::MetaModifier, "LOGO"}};
    QStringList parts;
    for (const auto& name : names) {
        if (modifiers.testFlag(name.modifier)) {
            parts.append(QLatin1String(name.name));
        }
    }
    parts.append(QChar(char16_t(key)));
    return parts.join(QLatin1Char('+'));
}

} // namespace vellumix::globalshortcuts
