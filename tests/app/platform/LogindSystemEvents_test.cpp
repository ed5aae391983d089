#include "fakes/WidgetTestApp.h"
#include "platform/dbus/LogindSystemEvents.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QProcess>
#include <QTest>

using namespace vellumix;

namespace {

const QString service = QStringLiteral("org.freedesktop.login1");
const QString managerPath = QStringLiteral("/org/freedesktop/login1");
const QString sessionPath = QStringLiteral("/org/freedesktop/login1/session/_31");
const QString sessionInterface = QStringLiteral("org.freedesktop.login1.Session");
const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
constexpr quint32 ourPid = 4242;

// The parts of logind the app uses, served on a private bus.
class FakeManager final : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
public:
    bool hasSession = true;
    QList<quint32> asked;

public slots:
    QDBusObjectPath GetSessionByPID(quint32 pid) {
        asked.append(pid);
        if (!hasSession) {
            sendErrorReply(QStringLiteral("org.freedesktop.login1.NoSessionForPID"),
                           QStringLiteral("PID does not belong to any known session"));
        }
        return QDBusObjectPath(sessionPath);
    }
};

class FakeSession final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Session")
    Q_PROPERTY(bool Active MEMBER active)
public:
    bool active = true;
};

QStringList logged;

void recordLog(QtMsgType, const QMessageLogContext& context, const QString& message) {
    if (QLatin1String(context.category) == QLatin1String("vellumix.systemevents")) {
        logged.append(message);
    }
}

class LogindSystemEventsTest : public testing::Test {
protected:
    void SetUp() override {
        daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        ASSERT_TRUE(daemon.waitForReadyRead(10000)) << "dbus-daemon did not start";
        address = QString::fromUtf8(daemon.readLine().trimmed());
        QDBusConnection logind = QDBusConnection::connectToBus(address, "logind");
        ASSERT_TRUE(logind.registerService(service));
        ASSERT_TRUE(logind.registerObject(managerPath, &manager, QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(
            logind.registerObject(sessionPath, &session, QDBusConnection::ExportAllProperties));
        logged.clear();
        previousHandler = qInstallMessageHandler(recordLog);
    }

    void TearDown() override {
        qInstallMessageHandler(previousHandler);
        events.reset();
        QDBusConnection::disconnectFromBus("logind");
        QDBusConnection::disconnectFromBus("app");
        daemon.kill();
        daemon.waitForFinished();
    }

    void watch() {
        events = std::make_unique<LogindSystemEvents>(QDBusConnection::connectToBus(address, "app"),
                                                      ourPid);
        QObject::connect(events.get(), &SystemEvents::willSleep, [this] { ++sleeps; });
        QObject::connect(events.get(), &SystemEvents::sessionBecameInactive,
                         [this] { ++inactive; });
    }

    static void send(const QString& path, const QString& interface, const QString& name,
                     const QVariantList& arguments) {
        QDBusMessage signal = QDBusMessage::createSignal(path, interface, name);
        signal.setArguments(arguments);
        QDBusConnection("logind").send(signal);
    }
    static void prepareForSleep(bool start) {
        send(managerPath, "org.freedesktop.login1.Manager", "PrepareForSleep", {start});
    }
    void activeChanged(bool active, bool valueInSignal) {
        session.active = active;
        const QVariantMap changed = valueInSignal ? QVariantMap{{"Active", active}} : QVariantMap();
        const QStringList invalidated = valueInSignal ? QStringList() : QStringList{"Active"};
        send(sessionPath, propertiesInterface, "PropertiesChanged",
             {sessionInterface, changed, invalidated});
    }
    // Signals from logind arrive in the order sent, before the answer to a
    // call the app makes afterwards: once that answer is in, every signal
    // sent earlier has been handled.
    static testing::AssertionResult roundTrip() {
        QDBusMessage get =
            QDBusMessage::createMethodCall(service, sessionPath, propertiesInterface, "Get");
        get << sessionInterface << QStringLiteral("Active");
        const QDBusPendingCall call = QDBusConnection("app").asyncCall(get);
        if (!QTest::qWaitFor([&] { return call.isFinished(); })) {
            return testing::AssertionFailure() << "logind did not answer";
        }
        QCoreApplication::processEvents();
        return testing::AssertionSuccess();
    }

    QProcess daemon;
    QString address;
    FakeManager manager;
    FakeSession session;
    std::unique_ptr<LogindSystemEvents> events;
    int sleeps = 0;
    int inactive = 0;
    QtMessageHandler previousHandler = nullptr;
};

TEST_F(LogindSystemEventsTest, sleepStartsAndSessionDeactivationsAreSentOncePerChange) {
    watch();
    // The app asks for its session after it subscribed to sleep signals.
    ASSERT_TRUE(QTest::qWaitFor([this] { return !manager.asked.isEmpty(); }));
    EXPECT_EQ(manager.asked, QList<quint32>({ourPid}));
    prepareForSleep(true);
    prepareForSleep(false);
    // The session's subscription follows logind's answer: repeat until seen.
    ASSERT_TRUE(QTest::qWaitFor([this] {
        activeChanged(true, true);
        activeChanged(false, true);
        return inactive > 0;
    }));
    ASSERT_TRUE(roundTrip());
    EXPECT_EQ(sleeps, 1);
    inactive = 0;
    activeChanged(false, true); // no change
    activeChanged(true, true);
    activeChanged(false, false); // logind may send only that it changed
    ASSERT_TRUE(QTest::qWaitFor([this] { return inactive > 0; }));
    activeChanged(true, true);
    activeChanged(false, true);
    ASSERT_TRUE(roundTrip());
    EXPECT_EQ(inactive, 2);
}

TEST_F(LogindSystemEventsTest, withoutASessionOnlySleepIsSentAndTheLogSaysWhy) {
    manager.hasSession = false;
    watch();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !logged.isEmpty(); }));
    EXPECT_TRUE(logged.first().startsWith(QStringLiteral("No login session for this process")));
    prepareForSleep(true);
    ASSERT_TRUE(roundTrip());
    EXPECT_EQ(sleeps, 1);
}

} // namespace

#include "LogindSystemEvents_test.moc"
