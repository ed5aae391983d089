// A Wayland desktop without the portal's GlobalShortcuts (the wlr portal of
// scripts/wayland.sh): the hot key fails with the reason and the desktop's
// own steps, and `Vellumix --capture`, what those steps bind, reaches the
// running instance as a capture.

#include "fakes/MemoryDefaults.h"
#include "platform/wayland/PortalHotKeyService.h"
#include "shell/GlobalCaptureShortcut.h"
#include "shell/SingleInstance.h"

#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

namespace vellumix {
namespace {

TEST(CaptureCommand, withoutThePortalsShortcutsTheCommandStartsTheRunningAppsCapture) {
    PortalHotKeyService hotKeys(QDBusConnection::sessionBus());
    MemoryDefaults defaults;
    GlobalCaptureShortcut shortcut(hotKeys, defaults);
    shortcut.start([] {});
    EXPECT_FALSE(shortcut.isRegistered());
    EXPECT_TRUE(shortcut.error().contains(QLatin1String("portal offers no global shortcuts")))
        << shortcut.error().toStdString();
    // Which steps the desktop gets is the shortcut's headless test.
    EXPECT_FALSE(shortcut.desktopSteps().isEmpty());

    SingleInstance running;
    ASSERT_TRUE(running.claim()) << running.error().toStdString();
    std::optional<LaunchRequest> received;
    QObject::connect(&running, &SingleInstance::requestReceived,
                     [&](const LaunchRequest& request) { received = request; });
    QProcess second;
    second.setProcessChannelMode(QProcess::ForwardedChannels);
    second.start(QStringLiteral(VELLUMIX_APP), {QStringLiteral("--capture")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 30'000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return received.has_value(); }, 5'000));
    EXPECT_TRUE(received->capture);
}

} // namespace
} // namespace vellumix
