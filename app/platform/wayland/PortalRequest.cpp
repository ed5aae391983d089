#include "platform/wayland/PortalRequest.h"

#include "platform/PlatformError.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusPendingReply>
#include <QEventLoop>
#include <QTimer>

namespace vellumix {

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");

// Where the portal puts the Request object for `token`: known before the
// call, so the answer cannot come before we listen.
QString requestPath(const QDBusConnection& bus, const QString& token) {
    QString sender = bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
}

class ResponseListener final : public QObject {
    Q_OBJECT
public:
    QEventLoop loop;
    PortalAnswer answer;
    bool answered = false;

public slots:
    void response(uint code, const QVariantMap& results) {
        answer.outcome = code == 0   ? PortalAnswer::Outcome::granted
                         : code == 1 ? PortalAnswer::Outcome::refused
                                     : PortalAnswer::Outcome::failed;
        answer.results = results;
        answered = true;
        loop.quit();
    }
};

} // namespace

QString portalToken() {
    static QAtomicInteger<quint32> next;
    return QStringLiteral("vellumix_%1_%2").arg(QCoreApplication::applicationPid()).arg(++next);
}

PortalAnswer callPortal(const QDBusConnection& bus, const QString& interface, const QString& method,
                        QVariantList arguments, int waitMilliseconds) {
    const QString token = portalToken();
    QVariantMap options = arguments.takeLast().toMap();
    options.insert(QStringLiteral("handle_token"), token);
    arguments.append(options);

    QDBusConnection connection = bus;
    ResponseListener listener;
    const QString path = requestPath(connection, token);
    const auto listen = [&](bool on) {
        const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");
        const QString response = QStringLiteral("Response");
        const char* slot = SLOT(response(uint, QVariantMap));
        if (on) {
            connection.connect(portalService, path, requestInterface, response, &listener, slot);
        } else {
            connection.disconnect(portalService, path, requestInterface, response, &listener, slot);
        }
    };
    listen(true);
    const QDBusMessage reply = callDesktop(bus, interface, method, arguments, waitMilliseconds);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        listen(false);
        throw PlatformError(
            QStringLiteral("The desktop portal refused %1: %2").arg(method, reply.errorMessage()));
    }
    QTimer::singleShot(waitMilliseconds, &listener.loop, &QEventLoop::quit);
    if (!listener.answered) {
        listener.loop.exec();
    }
    listen(false);
    if (!listener.answered) {
        throw PlatformError(QStringLiteral("The desktop portal did not answer %1").arg(method));
    }
    return listener.answer;
}

QDBusMessage callDesktop(const QDBusConnection& bus, const QString& interface,
                         const QString& method, const QVariantList& arguments,
                         int waitMilliseconds) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(portalService, portalPath, interface, method);
    call.setArguments(arguments);
    return QDBusConnection(bus).call(call, QDBus::Block, waitMilliseconds);
}

QDBusMessage portalVersion(const QDBusConnection& bus, const QString& interface) {
    constexpr int quickMilliseconds = 5'000;
    return callDesktop(bus, QStringLiteral("org.freedesktop.DBus.Properties"),
                       QStringLiteral("Get"), {interface, QStringLiteral("version")},
                       quickMilliseconds);
}

void closePortalSession(const QDBusConnection& bus, const QString& session) {
    QDBusConnection(bus).send(QDBusMessage::createMethodCall(
        portalService, session, QStringLiteral("org.freedesktop.portal.Session"),
        QStringLiteral("Close")));
}

} // namespace vellumix

#include "PortalRequest.moc"
