#include "BridgeFixture.h"
#include "recording/Recorder.h"
#include "support/PatternImage.h"
#include "support/ScrollPage.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QThread>

namespace vellumix {
namespace {

class OperationsTest : public BridgeTest {
protected:
    void SetUp() override {
        BridgeTest::SetUp();
        left = fakes.displays.list[0].id;
        right = fakes.displays.list[1].id;
        fakes.screen.screens.insert(left, patternImage(QSize(200, 100)));
        fakes.screen.screens.insert(right, patternImage(QSize(200, 100)));
    }

    QString output(const char* name) const { return home.path() + "/" + name; }
    static std::string message(const QJsonObject& response) {
        return response["error"]["message"].toString().toStdString();
    }
    QString startScroll() {
        return ask("scroll.start", {{"display", double(left)},
                                    {"rect", QJsonArray{0, 0, 200, 100}}})["result"]["sessionId"]
            .toString();
    }

    quint32 left = 0;
    quint32 right = 0;
};

TEST_F(OperationsTest, regionArgumentsAreCheckedBeforeAnythingIsCaptured) {
    const QString out = output("region.png");
    // The display, the rectangle, the answer's code.
    const std::tuple<QJsonValue, QJsonValue, const char*> cases[] = {
        {QString::number(left), QJsonArray{0, 0, 10, 10}, "invalid_display"},
        {3.7, QJsonArray{0, 0, 10, 10}, "invalid_display"},
        {-1, QJsonArray{0, 0, 10, 10}, "invalid_display"},
        {4294967296.0 + left, QJsonArray{0, 0, 10, 10}, "invalid_display"},
        {QJsonValue::Undefined, QJsonArray{0, 0, 10, 10}, "invalid_display"},
        {double(left), QJsonValue::Undefined, "invalid_arguments"},
        {double(left), QJsonArray{0, 0, 201, 100}, "invalid_region"},
        {double(right), QJsonArray{50, 0, 50, 50.5}, "invalid_region"},
    };
    for (const auto& [display, rect, expected] : cases) {
        QJsonObject arguments{{"rect", rect}, {"output", out}};
        if (!display.isUndefined()) {
            arguments.insert("display", display);
        }
        EXPECT_EQ(code(ask("capture.region", arguments)), expected)
            << JsonWriter::write(arguments).toStdString();
    }
    EXPECT_TRUE(fakes.screen.recorded().isEmpty());
    EXPECT_EQ(code(ask("capture.region", {{"display", double(left)},
                                          {"rect", QJsonArray{0, 0, 200, 100}},
                                          {"output", out}})),
              "ok");
}

TEST_F(OperationsTest, withoutPermissionOnlyTheUnprivilegedOperationsRun) {
    const QString session = startScroll();
    fakes.permission.granted = false;
    const QJsonObject region{{"display", double(left)},
                             {"rect", QJsonArray{0, 0, 10, 10}},
                             {"output", output("x.png")},
                             {"sessionId", session}};
    for (const char* operation : {"capture.region", "scroll.start", "scroll.sample"}) {
        EXPECT_EQ(code(ask(operation, region)), "permission_required") << operation;
    }
    EXPECT_EQ(ask("permissions.status")["result"]["screenRecording"], QJsonValue(false));
    EXPECT_EQ(code(ask("scroll.finish", {{"sessionId", session}, {"output", output("long.png")}})),
              "ok");
    EXPECT_TRUE(QFileInfo::exists(output("long.png")));
    EXPECT_EQ(message(ask("display.list")), "display.list");
}

TEST_F(OperationsTest, listsDescribeDisplaysAndPlaceEachWindowOnItsLargerPart) {
    fakes.windows.list = {WindowInfo{1, "Straddle even", "App", 0, QRectF(150, 0, 100, 20)},
                          WindowInfo{2, "Straddle right", "App", 0, QRectF(180, 0, 100, 20)},
                          WindowInfo{3, "straddle", "App", 0, QRectF(0, 0, 50, 50)}};
    EXPECT_EQ(JsonWriter::write(ask("displays.list")["result"]["displays"][1]),
              QStringLiteral(
                  R"({"appKitFrame":[200,50,100,50],"height":50,"id":%1,"scale":2,"width":100})")
                  .arg(right)
                  .toUtf8());
    EXPECT_EQ(ask("windows.list", {{"titleContains", ""}})["result"]["windows"].toArray().size(),
              3);
    const QJsonArray matched =
        ask("windows.list", {{"titleContains", "Straddle"}})["result"]["windows"].toArray();
    ASSERT_EQ(matched.size(), 2);
    EXPECT_EQ(matched[0]["display"].toDouble(), left);
    EXPECT_EQ(
        JsonWriter::write(matched[1]),
        QStringLiteral(
            R"({"app":"App","display":%1,"displayFrame":[200,0,100,50],"id":2,"rect":[-20,0,100,20],"title":"Straddle right"})")
            .arg(right)
            .toUtf8());
}

TEST_F(OperationsTest, pinShowsTheImageAtOnePixelPerPointAndClosesOnce) {
    EXPECT_EQ(message(ask("pin", {{"input", "relative.png"}})), "input must be an absolute path");
    patternImage(QSize(30, 20)).save(output("pin.png"));
    const QJsonValue id = ask("pin", {{"input", output("pin.png")}})["result"]["pinId"];
    ASSERT_TRUE(pins.open.contains(id.toString()));
    EXPECT_EQ(pins.open[id.toString()].size(), QSize(30, 20));
    EXPECT_EQ(pins.scales, QList<double>{1.0});
    EXPECT_EQ(code(ask("pin.close", {{"pinId", id}})), "ok");
    EXPECT_EQ(message(ask("pin.close", {{"pinId", id}})), "Pin not found");
    EXPECT_EQ(message(ask("pin.close", {{"pinId", 7}})), "Pin not found");
}

TEST_F(OperationsTest, scrollSessionStitchesSamplesAndEndsOnlyWhenWritten) {
    const testing::ScrollPage page({.width = 200, .height = 600, .seed = 1});
    fakes.screen.screens[left] = page.frame(0, 100);
    const QString session = startScroll();
    for (int top : {30, 60}) {
        fakes.screen.screens[left] = page.frame(top, 100);
        const QJsonObject sample =
            ask("scroll.sample", {{"sessionId", session}})["result"].toObject();
        EXPECT_EQ(sample["height"].toInt(), top + 100)
            << sample["message"].toString().toStdString();
        EXPECT_EQ(sample["paused"], QJsonValue(false));
    }
    const QJsonObject finish{{"sessionId", session}, {"output", output("long.png")}};
    QFile(output("long.png")).open(QIODevice::WriteOnly);
    EXPECT_EQ(code(ask("scroll.finish", finish)), "file_exists");
    QJsonObject overwrite = finish;
    overwrite.insert("overwrite", true);
    EXPECT_EQ(ask("scroll.finish", overwrite)["result"]["height"].toInt(), 160);
    EXPECT_EQ(
        QImage(output("long.png")).convertToFormat(QImage::Format_RGBA8888_Premultiplied),
        page.image().copy(0, 0, 200, 160).convertToFormat(QImage::Format_RGBA8888_Premultiplied));
    EXPECT_EQ(message(ask("scroll.sample", {{"sessionId", session}})),
              "Session expired or missing");
    EXPECT_EQ(message(ask("scroll.cancel", {{"sessionId", session}})), "Session not found");
}

TEST_F(OperationsTest, atMostFourSessionsAndEachExpiresSixHundredSecondsAfterItsLastUse) {
    // Responses carry real file times: a clock behind the real one keeps the
    // clean-up from taking them while the test moves it on.
    clock.time -= 1000;
    QStringList sessions;
    for (int i = 0; i < 4; ++i) {
        sessions.append(startScroll());
    }
    EXPECT_EQ(message(ask("scroll.start",
                          {{"display", double(left)}, {"rect", QJsonArray{0, 0, 10, 10}}})),
              "At most four scroll sessions");
    clock.time += 300;
    EXPECT_EQ(code(ask("scroll.sample", {{"sessionId", sessions[0]}})), "ok");
    EXPECT_EQ(code(ask("scroll.cancel", {{"sessionId", sessions[1]}})), "ok");
    clock.time += 299.9;
    EXPECT_EQ(code(ask("scroll.sample", {{"sessionId", sessions[2]}})), "ok");
    clock.time += 0.1;
    EXPECT_EQ(code(ask("scroll.sample", {{"sessionId", sessions[3]}})), "not_found");
    EXPECT_EQ(code(ask("scroll.sample", {{"sessionId", sessions[0]}})), "ok");
    EXPECT_FALSE(startScroll().isEmpty());
}

TEST_F(OperationsTest, oneRecordingAtATimeFromStartToStopOrCancel) {
    clock.time -= 1000; // as above: responses outlive the moves of the clock
    // Grabs that take a while: the cancel comes while one runs.
    fakes.screen.onGrab = [] {
        QThread::msleep(200);
    };
    QFile(output("taken.mp4")).open(QIODevice::WriteOnly);
    const auto start = [this](const char* name, QJsonObject more = {}) {
        more.insert("display", double(left));
        more.insert("rect", more.value("rect").isUndefined() ? QJsonArray{0, 0, 200, 100}
                                                             : more.value("rect"));
        more.insert("output",
                    more.value("output").isUndefined() ? output(name) : more.value("output"));
        return QJsonObject{{"operation", "record.start"}, {"arguments", more}};
    };
    const auto about = [](const char* operation) {
        return QJsonObject{{"operation", operation}, {"arguments", QJsonObject{}}};
    };
    // Each request in turn, the answer's code and, after it, the seconds the
    // clock moves; "recordingId" is the last one started unless given.
    const std::tuple<QJsonObject, const char*, double> steps[] = {
        {start("a.mp4", {{"fps", 0}}), "invalid_arguments", 0},
        {start("a.mp4", {{"fps", 2.5}}), "invalid_arguments", 0},
        {start("a.mp4", {{"fps", "30"}}), "invalid_arguments", 0},
        {start("a.mp4", {{"fps", 61}}), "invalid_arguments", 0},
        {start("a.gif", {{"fps", 51}}), "invalid_arguments", 0},
        {start("a.mp4", {{"format", "avi"}}), "invalid_arguments", 0},
        {start("a.webm"), "invalid_arguments", 0},
        {start("", {{"output", "a.mp4"}}), "invalid_arguments", 0},
        {start("taken.mp4"), "file_exists", 0},
        {start("a.mp4", {{"rect", QJsonArray{10, 0, 200, 100}}}), "invalid_region", 0},
        {start("cancelled.mp4"), "ok", 1},
        {start("b.mp4"), "busy", 0},
        {about("record.cancel"), "ok", 0},
        {about("record.cancel"), "not_found", 0},
        {start("stopped.mp4", {{"fps", 10}}), "ok", 0.5},
        {about("record.stop"), "ok", 0},
        {about("record.stop"), "not_found", 0},
        {start("limit.gif", {{"fps", 5}}), "ok", Recorder::maximumSeconds},
        {start("c.gif"), "busy", 0},
        {about("record.stop"), "ok", 0},
    };
    QString id;
    QJsonObject last;
    for (auto [request, expected, seconds] : steps) {
        QJsonObject arguments = request["arguments"].toObject();
        arguments.insert("recordingId", id);
        const QJsonObject answer = ask(request["operation"].toString(), arguments);
        EXPECT_EQ(code(answer), expected) << JsonWriter::write(request).toStdString();
        last = answer["result"].toObject();
        id = last["recordingId"].isString() ? last["recordingId"].toString() : id;
        clock.time += seconds;
    }
    EXPECT_FALSE(QFileInfo::exists(output("cancelled.mp4")));
    EXPECT_EQ(last["path"].toString(), output("limit.gif"));
    EXPECT_EQ(last["size"].toInteger(), QFileInfo(output("limit.gif")).size());
    EXPECT_EQ(last["frames"].toInt(), 1);
    EXPECT_EQ(last["message"].toString(), Recorder::limitMessage);
}

} // namespace
} // namespace vellumix
