#pragma once

#include "WindowPattern.h"
#include "capture/CaptureService.h"
#include "fakes/Awaited.h"
#include "platform/Platform.h"
#include "support/ImageDifference.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace vellumix {

// Runs the event loop until `done` holds. The window manager answers when the
// machine lets it, so the bound only keeps a broken test from hanging: it is
// far beyond any wait that ends in success.
inline bool waitUntil(const std::function<bool()>& done) {
    return QTest::qWaitFor(done, 120'000);
}

// The window manager of this test's X server: the openbox whose DISPLAY is ours.
inline pid_t windowManager() {
    const QByteArray display = "DISPLAY=" + qgetenv("DISPLAY") + '\0';
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
        QFile environment(QStringLiteral("/proc/%1/environ").arg(pid));
        if (comm.open(QIODevice::ReadOnly) && comm.readAll() == "openbox\n" &&
            environment.open(QIODevice::ReadOnly) && environment.readAll().contains(display)) {
            return pid.toInt();
        }
    }
    return 0;
}

inline bool xdotool(const QStringList& arguments) {
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

// Starts the pattern windows in a process of their own (at scale 1 whatever
// this process uses) and the real platform services of this process.
class XServerTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
        platform = Platform::create();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("QT_SCREEN_SCALE_FACTORS"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        helper.setProcessEnvironment(environment);
        helper.start(QStringLiteral(VELLUMIX_PATTERN_WINDOWS));
        ASSERT_TRUE(helper.waitForStarted());
        ASSERT_TRUE(helper.waitForReadyRead(15000)) << helper.readAllStandardError().toStdString();
        ASSERT_EQ(helper.readLine().trimmed(), QByteArray("ready"));
        ASSERT_TRUE(waitUntil([this] { return patternWindowsSettled(); }))
            << "the pattern windows did not reach their places";
    }

    // The window manager maps and stacks asynchronously: wait until the list
    // holds all pattern windows front-most last-raised first, and each
    // frameless one shows its first pixel at its place.
    bool patternWindowsSettled() {
        const QList<WindowInfo> windows = patternWindows();
        if (windows.size() != patternLayout.size()) {
            return false;
        }
        for (qsizetype i = 0; i < windows.size(); ++i) {
            const PatternWindowSpec& spec = patternLayout[patternLayout.size() - 1 - i];
            const QImage corner = services().screen.grabRegion(
                DisplayInfo(), QRect(spec.pixels.topLeft(), QSize(1, 1)));
            if (windows[i].title != spec.title ||
                (!spec.framed && corner.pixel(0, 0) != patternColor(spec.seed, 0, 0))) {
                return false;
            }
        }
        return true;
    }

    void TearDown() override {
        helper.kill();
        helper.waitForFinished();
    }

    PlatformServices services() { return platform->services(); }

    // The helper's windows as the platform lists them, front-most first.
    QList<WindowInfo> patternWindows() {
        QList<WindowInfo> ours;
        for (const WindowInfo& window : services().windows.windows()) {
            if (window.pid == helper.processId()) {
                ours.append(window);
            }
        }
        return ours;
    }

    std::optional<WindowInfo> patternWindow(const QString& title) {
        for (const WindowInfo& window : patternWindows()) {
            if (window.title == title) {
                return window;
            }
        }
        return std::nullopt;
    }

    QImage capture(const CaptureRegion& region) {
        const auto service = awaited(CaptureService::create(region, services())).result();
        return awaited(service->frame()).result();
    }

    const DisplayInfo display(const char* name) {
        for (const DisplayInfo& d : services().displays.displays()) {
            if (d.name == QLatin1String(name)) {
                return d;
            }
        }
        ADD_FAILURE() << "no display " << name;
        return DisplayInfo();
    }

    // The pattern of `window` from window-local pixel `origin` on, `size` big.
    static QImage expectedPattern(const PatternWindowSpec& window, QPoint origin, QSize size) {
        return patternImage(window.pixels.size(), window.seed).copy(QRect(origin, size));
    }

    QProcess helper;
    std::unique_ptr<Platform> platform;
};

} // namespace vellumix
