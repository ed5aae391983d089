#pragma once

#include "WindowPattern.h"
#include "capture/CaptureService.h"
#include "fakes/Awaited.h"
#include "platform/Platform.h"

#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QProcess>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace vellumix {

// The pattern windows every test under X starts with, in root-window pixels
// on the two 1920 × 1080 monitors LEFT and RIGHT. Raised in this order, so
// "Framed" ends up front-most.
inline const QList<PatternWindowSpec> patternLayout = {
    {QStringLiteral("Alpha"), QRect(100, 100, 400, 300), 0x20, false},
    {QStringLiteral("Beta"), QRect(2100, 200, 300, 300), 0x40, false},
    {QStringLiteral("Gamma"), QRect(600, 500, 300, 200), 0x60, false},
    {QStringLiteral("Delta"), QRect(700, 550, 300, 200), 0x80, false},
    {QStringLiteral("Framed"), QRect(1200, 300, 300, 200), 0xa0, true},
};

// Where two images first differ, as text; empty when they are equal pixel
// for pixel.
inline std::string firstDifference(const QImage& actual, const QImage& expected) {
    if (actual.size() != expected.size() || actual.format() != expected.format()) {
        return "size or format differs";
    }
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            if (actual.pixel(x, y) != expected.pixel(x, y)) {
                return "pixel " + std::to_string(x) + ", " + std::to_string(y) + " differs";
            }
        }
    }
    return std::string();
}

// Runs the event loop until `done` holds. The window manager answers when the
// machine lets it, so the bound only keeps a broken test from hanging: it is
// far beyond any wait that ends in success.
inline bool waitUntil(const std::function<bool()>& done) {
    const QDeadlineTimer deadline(120'000);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return done();
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
        QStringList arguments;
        for (const PatternWindowSpec& spec : patternLayout) {
            const QRect& r = spec.pixels;
            arguments << QStringLiteral("%1:%2,%3,%4,%5:%6%7")
                             .arg(spec.title)
                             .arg(r.x())
                             .arg(r.y())
                             .arg(r.width())
                             .arg(r.height())
                             .arg(spec.seed)
                             .arg(spec.framed ? QStringLiteral(":framed") : QString());
        }
        helper.start(QStringLiteral(VELLUMIX_PATTERN_WINDOWS), arguments);
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
        QStringList titles;
        for (const WindowInfo& window : patternWindows()) {
            titles.prepend(window.title);
        }
        QStringList expected;
        for (const PatternWindowSpec& spec : patternLayout) {
            expected.append(spec.title);
        }
        if (titles != expected) {
            return false;
        }
        for (const PatternWindowSpec& spec : patternLayout) {
            const QImage corner = services().screen.grabRegion(
                DisplayInfo(), QRect(spec.pixels.topLeft(), QSize(1, 1)));
            if (!spec.framed && corner.pixel(0, 0) != patternColor(spec.seed, 0, 0)) {
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

    // Moves the pointer to `pixel` of the X screen and waits until the
    // platform reports it at `points`.
    testing::AssertionResult pointerMovesTo(QPoint pixel, QPointF points) {
        const QStringList arguments = {QStringLiteral("mousemove"), QString::number(pixel.x()),
                                       QString::number(pixel.y())};
        if (QProcess::execute(QStringLiteral("xdotool"), arguments) != 0) {
            return testing::AssertionFailure() << "xdotool could not move the pointer";
        }
        if (!waitUntil([&] { return services().displays.mouseLocation() == points; })) {
            const QPointF at = services().displays.mouseLocation();
            return testing::AssertionFailure() << "the pointer is at " << at.x() << ", " << at.y();
        }
        return testing::AssertionSuccess();
    }

    QImage capture(const CaptureRegion& region) {
        const auto service = awaited(CaptureService::create(region, services())).result();
        return awaited(service->frame()).result();
    }

    // The kind of error the next frame fails with, if it fails.
    static std::optional<CaptureError::Kind> frameFailure(const CaptureService& service) {
        try {
            awaited(service.frame()).waitForFinished();
        } catch (const CaptureError& error) {
            return error.kind();
        }
        return std::nullopt;
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
        return patternImage(window.seed, window.pixels.size()).copy(QRect(origin, size));
    }

    QProcess helper;
    std::unique_ptr<Platform> platform;
};

} // namespace vellumix
