#include "XServerFixture.h"
#include "automation/AgentBridge.h"
#include "editor/QtClipboard.h"
#include "pins/PinnedImages.h"
#include "support/ScrollPage.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QPainter>
#include <QRasterWindow>
#include <QTemporaryDir>

namespace vellumix {
namespace {

// The client run as an agent would run it, against a bridge serving a queue
// under a temporary XDG_DATA_HOME on the real platform of this process.
class ClientTest : public XServerTest {
protected:
    void SetUp() override {
        XServerTest::SetUp();
        if (!HasFatalFailure()) {
            bridge = std::make_unique<AgentBridge>(services(), pins, clock,
                                                   home.path() + "/Vellumix/Automation");
        }
    }

    // The response line the client printed; fails the test when the exit
    // status does not match "ok".
    const QJsonObject request(const QString& operation, const QJsonObject& arguments = {}) {
        QProcess client;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", home.path());
        client.setProcessEnvironment(environment);
        client.start(VELLUMIX_REQUEST_CLIENT, {operation, QJsonDocument(arguments).toJson()});
        const QDeadlineTimer deadline(60000);
        while (client.state() != QProcess::NotRunning && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        const QJsonObject response =
            QJsonDocument::fromJson(client.readAllStandardOutput()).object();
        EXPECT_EQ(client.exitCode(), response["ok"].toBool() ? 0 : 1) << operation.toStdString();
        return response;
    }

    QTemporaryDir home;
    QtClipboard clipboard;
    PinnedImages pins{clipboard};
    SystemClock clock;
    std::unique_ptr<AgentBridge> bridge;
};

TEST_F(ClientTest, listsTheRealDisplaysAndWindowsInPoints) {
    const QJsonArray displays = request("displays.list")["result"]["displays"].toArray();
    ASSERT_EQ(displays.size(), 2);
    const DisplayInfo right = display("RIGHT");
    EXPECT_EQ(
        QJsonDocument(displays[1].toObject()).toJson(QJsonDocument::Compact),
        QStringLiteral(
            R"({"appKitFrame":[1920,540,960,540],"height":540,"id":%1,"scale":2,"width":960})")
            .arg(right.id)
            .toUtf8());
    const QJsonArray windows =
        request("windows.list", {{"titleContains", "Beta"}})["result"]["windows"].toArray();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_EQ(windows[0]["display"].toDouble(), right.id);
    EXPECT_EQ(windows[0]["rect"].toArray(), (QJsonArray{90, 100, 150, 150}));
    EXPECT_EQ(windows[0]["id"].toDouble(), patternWindow("Beta")->id);
    EXPECT_EQ(
        request("windows.list", {{"titleContains", "beta"}})["result"]["windows"].toArray().size(),
        0);
}

TEST_F(ClientTest, scrollingCaptureStitchesWhatTheWheelBringsIntoView) {
    const QRect area(1300, 600, 400, 300);
    QProcess page;
    page.start(VELLUMIX_SCROLL_PAGE, {QStringLiteral("%1,%2,%3,%4")
                                          .arg(area.x())
                                          .arg(area.y())
                                          .arg(area.width())
                                          .arg(area.height()),
                                      "60"});
    const testing::ScrollPage expected({.width = 400, .height = 3000, .seed = 1});
    // The page has drawn rows from `top` on, and the screen shows them.
    const auto shows = [&](int top) {
        const QImage row = services().screen.grabRegion(
            display("LEFT"), QRect(area.topLeft(), QSize(area.width(), 1)));
        return firstDifference(row, expected.frame(top, 1).convertToFormat(row.format())).empty();
    };
    ASSERT_TRUE(waitUntil([&] { return shows(0); })) << "the page did not appear";
    const QString id =
        request("scroll.start", {{"display", double(display("LEFT").id)},
                                 {"rect", QJsonArray{1300, 600, 400, 300}}})["result"]["sessionId"]
            .toString();
    for (int notch = 1; notch <= 4; ++notch) {
        QProcess::execute("xdotool",
                          {"mousemove", "1500", "750", "click", "5", "mousemove", "0", "0"});
        ASSERT_TRUE(waitUntil([&] { return shows(notch * 60); })) << "notch " << notch;
        const QJsonObject sample =
            request("scroll.sample", {{"sessionId", id}})["result"].toObject();
        EXPECT_EQ(sample["height"].toInt(), 300 + notch * 60)
            << sample["message"].toString().toStdString();
    }
    const QString out = home.path() + "/long.png";
    EXPECT_EQ(
        request("scroll.finish", {{"sessionId", id}, {"output", out}})["result"]["height"].toInt(),
        540);
    const QImage written = QImage(out).convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    EXPECT_EQ(firstDifference(written, expected.image()
                                           .copy(0, 0, 400, 540)
                                           .convertToFormat(QImage::Format_RGBA8888_Premultiplied)),
              "");
    page.kill();
    page.waitForFinished();
}

} // namespace
} // namespace vellumix
