// The Wayland platform in the session of scripts/wayland.sh, through the
// operations agents call: outputs, sway's windows, region pixels against the
// compositor's own screenshot (grim), a scrolling capture of a real window
// scrolled with the wheel, and the desktop's refusal.

#include "api/APIError.h"
#include "automation/AgentOperations.h"
#include "fakes/Awaited.h"
#include "fakes/FakeClock.h"
#include "fakes/FakePins.h"
#include "platform/NoScreenAccess.h"
#include "platform/Platform.h"
#include "platform/PlatformError.h"
#include "platform/qt/QtDisplaySource.h"
#include "platform/wayland/WaylandWindowSource.h"
#include "prefs/SettingsDefaults.h"
#include "support/ScrollPage.h"

#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace vellumix {
namespace {

bool run(const QString& program, const QStringList& arguments) {
    return QProcess::execute(program, arguments) == 0;
}

bool sway(const QString& command) {
    return run(QStringLiteral("swaymsg"), {QStringLiteral("-q"), command});
}

QImage pixels(const QString& path) {
    return QImage(path).convertToFormat(QImage::Format_RGBA8888_Premultiplied);
}

class WaylandSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("wayland"));
        restart();
        page.start(VELLUMIX_SCROLL_PAGE, {QStringLiteral("0,0,500,800"), QString::number(notch)});
        ASSERT_TRUE(QTest::qWaitFor([this] { return !pageWindows().isEmpty(); }, 20'000));
        placePage(area.topLeft(), area.topLeft());
    }
    // Moves the page to `at` (global points) and waits until sway lists it
    // at `local` on its display.
    void placePage(QPoint at, QPoint local) {
        ASSERT_TRUE(sway(QStringLiteral("[app_id=\"vellumix-scroll-page\"] move absolute "
                                        "position %1 %2")
                             .arg(at.x())
                             .arg(at.y())));
        const QJsonArray rect{local.x(), local.y(), area.width(), area.height()};
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return pageWindows()[0].toObject().value(QLatin1String("rect")) == rect; },
            20'000))
            << "sway did not place the page";
    }
    void TearDown() override {
        page.kill();
        page.waitForFinished();
    }

    // The app as a new start of it finds the platform.
    void restart() {
        platform = Platform::create();
        operations =
            std::make_unique<AgentOperations>(platform->services(), pins, clock, clock, &context);
    }
    QJsonObject perform(const QString& operation, const QJsonObject& arguments = {}) {
        return awaited(operations->perform(arguments, operation)).result();
    }
    // One field of an operation's result.
    QJsonValue field(const char* operation, const char* key, const QJsonObject& arguments = {}) {
        return perform(QString::fromLatin1(operation), arguments).value(QLatin1String(key));
    }
    QJsonArray pageWindows() {
        return field("windows.list", "windows",
                     {{QStringLiteral("titleContains"), QStringLiteral("Scroll page")}})
            .toArray();
    }
    qint64 displayId(int index) {
        return field("displays.list", "displays").toArray()[index].toObject()["id"].toInteger();
    }
    QJsonObject captureArguments(int display, const QRect& rect, const QString& file) {
        return {
            {QStringLiteral("display"), displayId(display)},
            {QStringLiteral("rect"), QJsonArray{rect.x(), rect.y(), rect.width(), rect.height()}},
            {QStringLiteral("output"), folder.filePath(file)}};
    }
    void wheelDown(const QPoint& at) {
        ASSERT_TRUE(sway(QStringLiteral("seat seat0 cursor set %1 %2; seat seat0 cursor press "
                                        "button5; seat seat0 cursor release button5")
                             .arg(at.x())
                             .arg(at.y())));
    }

    static constexpr int notch = 60;
    const QRect area{300, 150, 500, 800};
    const testing::ScrollPage expected{{.width = 500, .height = 3000, .seed = 1}};
    QObject context;
    FakePins pins;
    FakeClock clock;
    std::unique_ptr<Platform> platform;
    std::unique_ptr<AgentOperations> operations;
    QProcess page;
    QTemporaryDir folder;
};

TEST_F(WaylandSessionTest, outputsWindowsAndScaledPixelsAreTheCompositors) {
    const QJsonArray displays = field("displays.list", "displays").toArray();
    ASSERT_EQ(displays.size(), 2);
    EXPECT_EQ(displays[0].toObject()["scale"].toDouble(), 1.0);
    EXPECT_EQ(displays[1].toObject()["scale"].toDouble(), 2.0);
    EXPECT_EQ(displays[1].toObject()["width"].toInt(), 1600);

    // The page moved onto the scaled output, partly covering the region.
    placePage(QPoint(2100, 100), QPoint(180, 100));
    QTest::qWait(300); // the new frame's way through the cast
    const QJsonObject shot = perform(QStringLiteral("capture.region"),
                                     captureArguments(1, QRect(130, 50, 400, 300), "ours.png"));
    EXPECT_EQ(shot.value(QLatin1String("width")).toInt(), 800);
    ASSERT_TRUE(run(QStringLiteral("grim"),
                    {QStringLiteral("-g"), QStringLiteral("2050,50 400x300"), QStringLiteral("-s"),
                     QStringLiteral("2"), folder.filePath("grim.png")}));
    EXPECT_EQ(pixels(folder.filePath("ours.png")), pixels(folder.filePath("grim.png")));
}

TEST_F(WaylandSessionTest, wheelScrolledWindowStitchesIntoItsPage) {
    const QRect region(50, 100, 400, 500); // in the page's window
    const QJsonObject started =
        perform(QStringLiteral("scroll.start"),
                {{QStringLiteral("display"), displayId(0)},
                 {QStringLiteral("rect"), QJsonArray{area.x() + region.x(), area.y() + region.y(),
                                                     region.width(), region.height()}}});
    const QJsonObject session{
        {QStringLiteral("sessionId"), started.value(QLatin1String("sessionId"))}};
    // sway's wheel "button" gives a notch on press and, mostly, another on
    // release, and the first may come before the pointer has entered the
    // window: step until the document grows, and check what it grew to. The
    // pointer stays off the region: a headless output draws it into frames.
    int height = region.height();
    for (int n = 1; n <= 3; ++n) {
        const int before = height;
        const auto grown = [&] {
            height = field("scroll.sample", "height", session).toInt();
            return height > before;
        };
        for (int attempt = 0; attempt < 5 && height == before; ++attempt) {
            wheelDown(area.topLeft() + QPoint(25, 50));
            (void)QTest::qWaitFor(grown, 3'000); // else the next attempt
        }
        ASSERT_GT(height, before) << "step " << n;
    }
    QJsonObject finish = session;
    finish.insert(QStringLiteral("output"), folder.filePath("long.png"));
    // A notch still on its way when the last sample was read joins at Finish.
    height = field("scroll.finish", "height", finish).toInt();
    const QImage stitched = pixels(folder.filePath("long.png"));
    const QImage truth = expected.image()
                             .copy(region.x(), region.y(), region.width(), height)
                             .convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    EXPECT_EQ(stitched, truth) << stitched.height() << " rows against " << truth.height();
}

// Without a kept token the desktop asks; the session's chooser says no while
// its "refuse" file exists.
TEST_F(WaylandSessionTest, refusalIsNotGrantedAndTheNextTryAsksAgain) {
    const QString refuse = qEnvironmentVariable("VELLUMIX_WAYLAND_STATE") + "/refuse";
    SettingsDefaults(QStringLiteral("Vellumix"), QStringLiteral("Vellumix"))
        .remove(QStringLiteral("waylandScreenCastTokens"));
    restart();
    ASSERT_TRUE(QFile(refuse).open(QIODevice::WriteOnly));
    const QJsonObject arguments = captureArguments(0, QRect(0, 0, 100, 100), "refused.png");
    try {
        perform(QStringLiteral("capture.region"), arguments);
        ADD_FAILURE() << "the capture went on without the desktop's leave";
    } catch (const APIError& error) {
        EXPECT_EQ(error.code(), QStringLiteral("permission_required"));
    }
    EXPECT_FALSE(field("permissions.status", "screenRecording").toBool());
    EXPECT_FALSE(QFile::exists(folder.filePath("refused.png")));
    ASSERT_TRUE(QFile::remove(refuse));
    perform(QStringLiteral("capture.region"), arguments);
    EXPECT_TRUE(QFile::exists(folder.filePath("refused.png")));
    EXPECT_TRUE(field("permissions.status", "screenRecording").toBool());

    // The grant's token, kept in the preferences, spares the next start of
    // the app the question: the chooser is not asked again.
    const auto asked = [] {
        QFile turns(qEnvironmentVariable("VELLUMIX_WAYLAND_STATE") + "/chooser-turn");
        return turns.open(QIODevice::ReadOnly) ? turns.readAll() : QByteArray();
    };
    const QByteArray before = asked();
    restart();
    perform(QStringLiteral("capture.region"), captureArguments(0, QRect(0, 0, 9, 9), "again.png"));
    EXPECT_EQ(asked(), before);
}

// Elsewhere than sway no application may list windows: a failure that says
// so, never an empty list.
TEST(WaylandWindowsTest, withoutSwayTheListFailsNamingWayland) {
    QtDisplaySource displays;
    NoScreenAccess screen;
    WaylandWindowSource windows(QString(), displays, screen);
    try {
        windows.windows();
        ADD_FAILURE() << "listed windows without a way to";
    } catch (const PlatformError& error) {
        EXPECT_TRUE(QString::fromUtf8(error.what()).contains(QLatin1String("Wayland")));
    }
}

} // namespace
} // namespace vellumix
