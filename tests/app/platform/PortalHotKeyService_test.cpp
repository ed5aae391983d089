#include "fakes/WidgetTestApp.h"
#include "platform/wayland/GlobalShortcutsPortal.h"
#include "platform/wayland/PortalHotKeyService.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <atomic>

using namespace vellumix;

namespace {

const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString sessionPath = QStringLiteral("/org/freedesktop/portal/desktop/session/1/vellumix");

// The portal's GlobalShortcuts on a private bus, answering through Request
// objects as the real one does: BindShortcuts with `bindAnswer` (0 bound, 1
// declined by the user), binding what it was asked to. It answers from a
// thread of its own, as another process would, while the app's waits.
class FakePortal final : public QDBusVirtualObject {
public:
    std::atomic<uint> bindAnswer = 0;

    QString introspect(const QString&) const override { return QString(); }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& bus) override {
        const QVariantList in = message.arguments();
        if (message.member() == QLatin1String("Get")) {
            bus.send(message.createReply(QVariant::fromValue(QDBusVariant(1u))));
        } else if (message.member() == QLatin1String("CreateSession")) {
            respond(message, bus, 0, {{"session_handle", sessionPath}});
        } else {
            // The shortcuts asked for, as the desktop bound them.
            respond(message, bus, bindAnswer, {{"shortcuts", in.value(1)}});
        }
        return true;
    }

private:
    static void respond(const QDBusMessage& message, const QDBusConnection& bus, uint code,
                        const QVariantMap& results) {
        const QString token =
            qdbus_cast<QVariantMap>(message.arguments().last()).value("handle_token").toString();
        const QString path = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
                                 .arg(message.service().mid(1).replace('.', '_'), token);
        bus.send(message.createReply(QVariant::fromValue(QDBusObjectPath(path))));
        bus.send(QDBusMessage::createSignal(path, "org.freedesktop.portal.Request", "Response")
                 << code << results);
    }
};

class PortalHotKeyServiceTest : public testing::Test {
protected:
    void SetUp() override {
        globalshortcuts::registerTypes();
        daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        ASSERT_TRUE(daemon.waitForReadyRead(10000)) << "dbus-daemon did not start";
        const QString address = QString::fromUtf8(daemon.readLine().trimmed());
        QDBusConnection desktop = QDBusConnection::connectToBus(address, "desktop");
        ASSERT_TRUE(desktop.registerService("org.freedesktop.portal.Desktop"));
        portal.moveToThread(&portalThread);
        portalThread.start();
        ASSERT_TRUE(desktop.registerVirtualObject(portalPath, &portal));
        hotKeys.emplace(QDBusConnection::connectToBus(address, "app"));
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
        QDBusConnection("desktop").send(
            QDBusMessage::createSignal(portalPath, globalshortcuts::interface, name)
            << QVariant::fromValue(QDBusObjectPath(session)) << id << qulonglong(1)
            << QVariantMap());
    }

    QProcess daemon;
    QThread portalThread;
    FakePortal portal;
    std::optional<PortalHotKeyService> hotKeys;
};

TEST_F(PortalHotKeyServiceTest, theDesktopBindsCaptureOnceReportsItsPressesAndMayDecline) {
    QSignalSpy pressed(&*hotKeys, &HotKeyService::hotKeyPressed);
    QSignalSpy released(&*hotKeys, &HotKeyService::hotKeyReleased);
    const HotKeyRegistration registration =
        hotKeys->registerHotKey(Qt::Key_X, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(registration.ok()) << registration.reason.toStdString();
    // Presses count once the desktop has bound the shortcut.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            send("Activated", sessionPath, "capture");
            return QTest::qWaitFor([&] { return !pressed.isEmpty(); }, 100);
        },
        10'000));
    EXPECT_EQ(globalshortcuts::trigger(Qt::Key_X, Qt::ControlModifier | Qt::ShiftModifier),
              QStringLiteral("CTRL+SHIFT+X"));
    // Only our session's shortcut counts.
    pressed.clear();
    send("Activated", sessionPath + "x", "capture");
    send("Activated", sessionPath, "other");
    send("Deactivated", sessionPath, "capture");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !released.isEmpty(); }, 5'000));
    EXPECT_EQ(pressed.count(), 0);
    EXPECT_EQ(released.front().at(0).toInt(), registration.id);

    const HotKeyRegistration again = hotKeys->registerHotKey(Qt::Key_Q, Qt::AltModifier);
    EXPECT_EQ(again.reason, PortalHotKeyService::rebindReason);
    EXPECT_FALSE(again.ok() || again.bindInDesktop);

    // Once given up, the shortcut can be bound anew, and the user may decline.
    hotKeys->unregisterHotKey(registration.id);
    portal.bindAnswer = 1;
    QSignalSpy failed(&*hotKeys, &HotKeyService::registrationFailed);
    const HotKeyRegistration declined = hotKeys->registerHotKey(Qt::Key_2, Qt::AltModifier);
    ASSERT_TRUE(declined.ok());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !failed.isEmpty(); }, 10'000));
    EXPECT_EQ(failed.front(),
              QVariantList({declined.id, "The desktop's shortcut dialog was declined"}));
    EXPECT_EQ(globalshortcuts::trigger(Qt::Key_2, Qt::AltModifier), QStringLiteral("ALT+2"));
}

} // namespace
