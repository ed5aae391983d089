#include "platform/wayland/ScreenCastPortal.h"

#include "platform/PlatformError.h"
#include "platform/wayland/PortalRequest.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QSize>

#include <unistd.h>

namespace vellumix {

namespace {

const QString castInterface = QStringLiteral("org.freedesktop.portal.ScreenCast");
constexpr int quickMilliseconds = 10'000;
// The desktop may show a dialog; people take their time.
constexpr int dialogMilliseconds = 300'000;

constexpr uint monitorSources = 1;
constexpr uint hiddenCursor = 1;
constexpr uint embeddedCursor = 2;
constexpr uint persistUntilRevoked = 2;

// The monitor's size the desktop gave for a stream, an (ii) pair.
std::optional<QSize> sizeProperty(const QVariantMap& properties) {
    const QVariant size = properties.value(QStringLiteral("size"));
    if (!size.isValid()) {
        return std::nullopt;
    }
    int width = 0;
    int height = 0;
    const QDBusArgument pair = size.value<QDBusArgument>();
    pair.beginStructure();
    pair >> width >> height;
    pair.endStructure();
    return QSize(width, height);
}

// The first stream of the "streams" result, a(ua{sv}).
void readFirstStream(const QVariantMap& results, ScreenCast& cast) {
    const QDBusArgument streams = results.value(QStringLiteral("streams")).value<QDBusArgument>();
    QList<QPair<uint, QVariantMap>> all;
    streams >> all;
    if (all.isEmpty()) {
        throw PlatformError(QStringLiteral("The desktop granted a screen cast with no screen"));
    }
    cast.node = all.first().first;
    cast.size = sizeProperty(all.first().second);
}

PortalAnswer ask(const QDBusConnection& bus, const QString& method, const QVariantList& arguments,
                 int waitMilliseconds) {
    const PortalAnswer answer = callPortal(bus, castInterface, method, arguments, waitMilliseconds);
    if (answer.outcome == PortalAnswer::Outcome::failed) {
        throw PlatformError(
            QStringLiteral("The desktop could not start a screen cast (%1)").arg(method));
    }
    return answer;
}

} // namespace

bool screenCastOffered(const QDBusConnection& bus) {
    return portalVersion(bus, castInterface).type() == QDBusMessage::ReplyMessage;
}

std::optional<ScreenCast> openScreenCast(const QDBusConnection& bus, const QString& restoreToken,
                                         CastPointer pointer) {
    const PortalAnswer created = ask(
        bus, QStringLiteral("CreateSession"),
        {QVariantMap{{QStringLiteral("session_handle_token"), portalToken()}}}, quickMilliseconds);
    ScreenCast cast;
    cast.session = created.results.value(QStringLiteral("session_handle")).toString();
    // A session that fails on the way is closed, or the desktop keeps it
    // (and its recording indicator).
    try {
        const QDBusObjectPath session(cast.session);
        QVariantMap sources{{QStringLiteral("types"), monitorSources},
                            {QStringLiteral("multiple"), false},
                            {QStringLiteral("cursor_mode"),
                             pointer == CastPointer::hidden ? hiddenCursor : embeddedCursor},
                            {QStringLiteral("persist_mode"), persistUntilRevoked}};
        if (!restoreToken.isEmpty()) {
            sources.insert(QStringLiteral("restore_token"), restoreToken);
        }
        const auto refused = [&] {
            closePortalSession(bus, cast.session);
            return std::nullopt;
        };
        if (ask(bus, QStringLiteral("SelectSources"), {QVariant::fromValue(session), sources},
                quickMilliseconds)
                .outcome == PortalAnswer::Outcome::refused) {
            return refused();
        }
        const PortalAnswer started =
            ask(bus, QStringLiteral("Start"),
                {QVariant::fromValue(session), QString(), QVariantMap()}, dialogMilliseconds);
        if (started.outcome == PortalAnswer::Outcome::refused) {
            return refused();
        }
        readFirstStream(started.results, cast);
        cast.restoreToken = started.results.value(QStringLiteral("restore_token")).toString();

        const QDBusMessage remote =
            callDesktop(bus, castInterface, QStringLiteral("OpenPipeWireRemote"),
                        {QVariant::fromValue(session), QVariantMap()}, quickMilliseconds);
        const QDBusUnixFileDescriptor fd =
            remote.arguments().value(0).value<QDBusUnixFileDescriptor>();
        if (!fd.isValid()) {
            throw PlatformError(
                QStringLiteral("The desktop gave no PipeWire connection for the screen cast"));
        }
        cast.pipeWireFd = ::dup(fd.fileDescriptor());
        return cast;
    } catch (const PlatformError&) {
        closePortalSession(bus, cast.session);
        throw;
    }
}

} // namespace vellumix
