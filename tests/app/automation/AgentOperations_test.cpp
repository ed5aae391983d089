#include "BridgeFixture.h"
#include "support/PatternImage.h"
#include "support/ScrollPage.h"

#include <QJsonArray>

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

} // namespace
} // namespace vellumix
