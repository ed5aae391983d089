#include "fakes/WidgetTestApp.h"
#include "platform/wayland/PortalHotKeyService.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QMutex>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <atomic>

using namespace vellumix;

namespace {

const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString shortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString sessionPath = QStringLiteral("/org/freedesktop/portal/desktop/session/1/vellumix");

struct Shortcut {
    QString id;
    QVariantMap properties;
};

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

} // namespace

Q_DECLARE_METATYPE(Shortcut)

namespace {

// The desktop portal's GlobalShortcuts on a private bus: answers through
// Request objects as the real one does, with `bindAnswer` for BindShortcuts
// (0 bound, 1 declined by the user), and records what it was asked to bind.
// It answers from a thread of its own, as another process would, while the
// app's thread waits for it.
class FakePortal final : public QDBusVirtualObject {
public:
    std::atomic<bool> offered = true;
    std::atomic<uint> bindAnswer = 0;

    QList<Shortcut> bound() const {
        const QMutexLocker lock(&m_mutex);
        return m_bound;
    }

    QString introspect(const QString&) const override { return QString(); }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        const QVariantList in = message.arguments();
        if (message.member() == QLatin1String("Get")) {
            connection.send(offered && in.value(0) == shortcutsInterface
                                ? message.createReply(QVariant::fromValue(QDBusVariant(1u)))
                                : message.createErrorReply(QDBusError::UnknownInterface, {}));
        } else if (message.member() == QLatin1String("CreateSession")) {
            respond(message, connection, 0, {{"session_handle", sessionPath}});
        } else if (message.member() == QLatin1String("BindShortcuts")) {
            QList<Shortcut> answer;
            in.value(1).value<QDBusArgument>() >> answer;
            {
                const QMutexLocker lock(&m_mutex);
                m_bound = answer;
            }
            for (Shortcut& shortcut : answer) {
                shortcut.properties = {{"trigger_description", "Press Ctrl+Shift+X"}};
            }
            respond(message, connection, bindAnswer, {{"shortcuts", QVariant::fromValue(answer)}});
        } else {
            return false;
        }
        return true;
    }

private:
    // The Request object's path from the caller's name and handle token,
    // answered right after the call.
    static void respond(const QDBusMessage& message, const QDBusConnection& connection, uint code,
                        const QVariantMap& results) {
        const QString token =
            qdbus_cast<QVariantMap>(message.arguments().last()).value("handle_token").toString();
        const QString path = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
                                 .arg(message.service().mid(1).replace('.', '_'), token);
        connection.send(message.createReply(QVariant::fromValue(QDBusObjectPath(path))));
        QDBusMessage response =
            QDBusMessage::createSignal(path, "org.freedesktop.portal.Request", "Response");
        response << code << results;
        connection.send(response);
    }

    mutable QMutex m_mutex;
    QList<Shortcut> m_bound;
};

class PortalHotKeyServiceTest : public testing::Test {
protected:
    void SetUp() override {
        qDBusRegisterMetaType<Shortcut>();
        qDBusRegisterMetaType<QList<Shortcut>>();
        daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        ASSERT_TRUE(daemon.waitForReadyRead(10000)) << "dbus-daemon did not start";
        address = QString::fromUtf8(daemon.readLine().trimmed());
        QDBusConnection desktop = QDBusConnection::connectToBus(address, "desktop");
        ASSERT_TRUE(desktop.registerService("org.freedesktop.portal.Desktop"));
        portal.moveToThread(&portalThread);
        portalThread.start();
        ASSERT_TRUE(desktop.registerVirtualObject(portalPath, &portal));
        hotKeys =
            std::make_unique<PortalHotKeyService>(QDBusConnection::connectToBus(address, "app"));
    }
    void TearDown() override {
        hotKeys.reset();
        QDBusConnection::disconnectFromBus("desktop");
        QDBusConnection::disconnectFromBus("app");
        portalThread.quit();
        portalThread.wait();
        daemon.kill();
        daemon.waitForFinished();
    }
    static void send(const char* name, const QString& session, const QString& id) {
        QDBusMessage signal = QDBusMessage::createSignal(portalPath, shortcutsInterface, name);
        signal << QVariant::fromValue(QDBusObjectPath(session)) << id << qulonglong(1)
               << QVariantMap();
        QDBusConnection("desktop").send(signal);
    }

    QProcess daemon;
    QString address;
    QThread portalThread;
    FakePortal portal;
    std::unique_ptr<PortalHotKeyService> hotKeys;
};

constexpr Qt::KeyboardModifiers ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;

TEST_F(PortalHotKeyServiceTest, theDesktopBindsCaptureOnceAndReportsItsPressesAndReleases) {
    QSignalSpy pressed(hotKeys.get(), &HotKeyService::hotKeyPressed);
    QSignalSpy released(hotKeys.get(), &HotKeyService::hotKeyReleased);
    QSignalSpy failed(hotKeys.get(), &HotKeyService::registrationFailed);
    const HotKeyRegistration registration = hotKeys->registerHotKey(Qt::Key_X, ctrlShift);
    ASSERT_TRUE(registration.ok()) << registration.reason.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !portal.bound().isEmpty(); }, 10'000));
    EXPECT_EQ(portal.bound().front().id, QStringLiteral("capture"));
    EXPECT_EQ(portal.bound().front().properties.value("preferred_trigger"),
              QStringLiteral("CTRL+SHIFT+X"));

    // Presses count once the desktop answered, and only of our session's
    // shortcut.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            send("Activated", sessionPath, "capture");
            return QTest::qWaitFor([&] { return !pressed.isEmpty(); }, 100);
        },
        10'000));
    pressed.clear();
    send("Activated", sessionPath + "x", "capture");
    send("Activated", sessionPath, "other");
    send("Deactivated", sessionPath, "capture");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !released.isEmpty(); }, 5'000));
    EXPECT_EQ(pressed.count(), 0);
    EXPECT_EQ(released.takeFirst().at(0).toInt(), registration.id);

    const HotKeyRegistration again = hotKeys->registerHotKey(Qt::Key_Q, ctrlShift);
    EXPECT_FALSE(again.ok());
    EXPECT_EQ(again.reason, PortalHotKeyService::rebindReason);
    EXPECT_FALSE(again.bindInDesktop);
    EXPECT_EQ(failed.count(), 0);
}

TEST_F(PortalHotKeyServiceTest, aDeclinedDialogOrAMissingInterfaceFailsWithTheReason) {
    portal.bindAnswer = 1;
    QSignalSpy failed(hotKeys.get(), &HotKeyService::registrationFailed);
    const HotKeyRegistration registration = hotKeys->registerHotKey(Qt::Key_2, Qt::AltModifier);
    ASSERT_TRUE(registration.ok());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !failed.isEmpty(); }, 10'000));
    EXPECT_EQ(failed.front().at(0).toInt(), registration.id);
    EXPECT_EQ(failed.front().at(1).toString(),
              QStringLiteral("The desktop's shortcut dialog was declined"));
    EXPECT_EQ(portal.bound().front().properties.value("preferred_trigger"),
              QStringLiteral("ALT+2"));

    portal.offered = false;
    PortalHotKeyService without(QDBusConnection("app"));
    const HotKeyRegistration missing = without.registerHotKey(Qt::Key_X, ctrlShift);
    EXPECT_FALSE(missing.ok());
    EXPECT_TRUE(missing.bindInDesktop);
    EXPECT_TRUE(missing.reason.contains(QLatin1String("offers no global shortcuts")))
        << missing.reason.toStdString();
}

} // namespace
