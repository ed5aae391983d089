#include "api/MarkReader.h"

#include "ApiTestSupport.h"
#include "fakes/GuiTestApp.h"

#include <tuple>

using namespace vellumix;
using namespace vellumix::test;

namespace {

const QImage source = ApiFolder::checkerboard(80, 60);

ImageMark read(const QByteArray& json, const QVector<ImageMark>& accepted = {}) {
    return MarkReader::read(object(json), source, accepted);
}

// Each mark breaks one rule, or several to show which check comes first.
const std::pair<const char*, std::vector<const char*>> badMarks[] = {
    {"Invalid tool or source-pixel points",
     {R"({"points":[[1,1],[2,2]]})", R"({"tool":"select","points":[[1,1],[2,2]]})",
      R"({"tool":"crop","points":[[1,1],[2,2]]})", R"({"tool":"Rectangle","points":[[1,1],[2,2]]})",
      R"({"tool":7,"points":[[1,1],[2,2]]})", R"({"tool":"line"})",
      R"({"tool":"line","points":[]})", R"({"tool":"line","points":[1,2]})",
      R"({"tool":"line","points":[[1,"2"],[3,4]]})", R"({"tool":"line","points":[[1,2,3],[3,4]]})",
      R"({"tool":"line","points":[[-0.5,0],[3,4]]})",
      R"({"tool":"line","points":[[80.1,0],[3,4]]})",
      R"({"tool":"line","points":[[0,60.1],[3,4]]})"}},
    {"curvedArrow requires [start,end,control] points",
     {R"({"tool":"curvedArrow","points":[[1,1],[2,2]],"text":5})"}},
    {"callout requires [bubbleOrigin,target] points",
     {R"({"tool":"callout","points":[[1,1],[2,2],[3,3]],"text":"a"})"}},
    {"text must be a string", {R"({"tool":"rectangle","points":[[1,1]],"text":null})"}},
    {"Tool requires two points", {R"({"tool":"rectangle","points":[[1,1]],"color":[2,0,0]})"}},
    {"Invalid color or thickness",
     {R"({"tool":"rectangle","points":[[1,1],[2,2]],"color":[1,0.5]})",
      R"({"tool":"rectangle","points":[[1,1],[2,2]],"color":[0,0,1.0001]})",
      R"({"tool":"rectangle","points":[[1,1],[2,2]],"color":[],"fontSize":1})",
      R"({"tool":"rectangle","points":[[1,1],[2,2]],"thickness":0})",
      R"({"tool":"rectangle","points":[[1,1],[2,2]],"thickness":100.01})"}},
    {"fontSize must be 8...200 pixels",
     {R"({"tool":"text","points":[[1,1]],"fontSize":"12"})",
      R"({"tool":"text","points":[[1,1]],"fontSize":null})",
      R"({"tool":"text","points":[[1,1]],"fontSize":7.9,"cornerRadius":-1})",
      R"({"tool":"text","points":[[1,1]],"fontSize":200.5})"}},
    {"cornerRadius must be 0...200 pixels",
     {R"({"tool":"callout","points":[[1,1],[2,2]],"cornerRadius":200.5})",
      R"({"tool":"rectangle","points":[[1,1],[2,2]],"cornerRadius":"4"})"}},
    {"callout text must not be empty",
     {R"({"tool":"callout","points":[[1,1],[2,2]],"text":" \n\t "})",
      R"({"tool":"callout","points":[[1,1],[2,2]]})"}},
};

} // namespace

TEST(MarkReader, reportsTheFirstBrokenRuleOfEachMark) {
    for (const auto& [message, marks] : badMarks) {
        for (const char* json : marks) {
            SCOPED_TRACE(json);
            expectAPIError([&] { read(json); }, "invalid_arguments", message);
        }
    }
}

// Points may lie on the image's edges; text and step take one point.
TEST(MarkReader, countsPointsFromOneToTenThousand) {
    QByteArray points = "[1,1]";
    for (int i = 1; i < MarkReader::maximumPoints; ++i) {
        points += ",[2,2]";
    }
    EXPECT_EQ(read(R"({"tool":"pen","points":[)" + points + "]}").points.size(), 10000);
    expectAPIError([&] { read(R"({"tool":"pen","points":[)" + points + ",[3,3]]}"); },
                   "invalid_arguments", "Invalid tool or source-pixel points");
    EXPECT_EQ(read(R"({"tool":"line","points":[[80,60],[0,0],[40,30]]})").points.size(), 3);
    EXPECT_EQ(read(R"({"tool":"text","points":[[1,1]]})").text, "");
    EXPECT_EQ(read(R"({"tool":"step","points":[[1,1]]})").points, QVector<QPointF>({{1, 1}}));
}

// Defaults fill what is missing or mistyped; given values hold at their limits.
TEST(MarkReader, appliesDefaultsAndKeepsGivenStyleValuesAtTheirLimits) {
    const auto style = [](const QByteArray& json) {
        const ImageMark m = read(json);
        return std::tuple(m.color, m.thickness, m.cornerRadius, m.fontSize, m.text,
                          m.bitmap.has_value());
    };
    using Style = decltype(style(""));
    const Style defaults{QColor(255, 0, 0), 3, 0, std::nullopt, QString(), false};
    EXPECT_EQ(style(R"({"tool":"rectangle","points":[[1,2],[3,4]]})"), defaults);
    EXPECT_EQ(style(R"({"tool":"arrow","points":[[1,2],[3,4]],"thickness":"9","color":[0,"1",0]})"),
              defaults);
    EXPECT_EQ(style(R"({"tool":"callout","points":[[1,2],[3,4]],"text":" hi ",)"
                    R"("color":[0,0,1],"thickness":100,"fontSize":8,"cornerRadius":200})"),
              Style(QColor(0, 0, 255), 100, 200, 8, QStringLiteral(" hi "), false));
}

TEST(MarkReader, limitsTextToTwoHundredUserPerceivedCharacters) {
    const QString accent = QString::fromUtf8("e\xCC\x81");
    const QString flag = QString::fromUtf8("\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA");
    EXPECT_EQ(MarkReader::characterCount(accent.repeated(3) + flag), 4);
    const auto textMark = [](const QString& text) {
        QJsonObject mark = object(R"({"tool":"text","points":[[1,1]]})");
        mark["text"] = text;
        return QJsonDocument(mark).toJson();
    };
    EXPECT_EQ(read(textMark(accent.repeated(200))).text.size(), 400);
    expectAPIError([&] { read(textMark(accent.repeated(200) + "x")); }, "invalid_arguments",
                   "Text is limited to 200 characters");
    EXPECT_EQ(read(R"({"tool":"rectangle","points":[[1,1],[2,2]],"text":")" + QByteArray(300, 'x') +
                   "\"}")
                  .text.size(),
              300);
}

TEST(MarkReader, numbersUntitledStepsAfterEveryEarlierStep) {
    QVector<ImageMark> accepted;
    const QByteArray steps[] = {
        R"({"tool":"step","points":[[1,1]]})", R"({"tool":"rectangle","points":[[1,1],[2,2]]})",
        R"({"tool":"step","points":[[1,1]],"text":"B"})", R"({"tool":"step","points":[[1,1]]})"};
    for (const QByteArray& step : steps) {
        accepted.append(read(step, accepted));
    }
    EXPECT_EQ(accepted[0].text, "1");
    EXPECT_EQ(accepted[2].text, "B");
    EXPECT_EQ(accepted[3].text, "3");
}

TEST(MarkReader, pixelateStoresOneReducedPixelPerBlockOverWholePixels) {
    const ImageMark mark =
        read(R"({"tool":"pixelate","points":[[30.3,20.2],[2.2,50]],"thickness":2.9})");
    EXPECT_EQ(mark.points, (QVector<QPointF>{{2, 20}, {31, 50}}));
    ASSERT_TRUE(mark.bitmap.has_value());
    // 29 x 30 pixels in blocks of 11 (2.9 x 4, truncated).
    EXPECT_EQ(mark.bitmap->size(), QSize(3, 3));
}
