#include "api/JsonWriter.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

#include <limits>

using namespace vellumix;

TEST(JsonWriter, sortsKeysAtEveryLevelWithoutSpaces) {
    const QJsonObject inner{{"width", 800}, {"path", "a"}, {"height", 600}, {"format", "png"}};
    const QJsonObject outer{
        {"result", inner}, {"ok", true}, {"list", QJsonArray{QJsonObject{{"b", 1}, {"a", false}}}}};
    EXPECT_EQ(JsonWriter::write(outer),
              R"({"list":[{"a":false,"b":1}],"ok":true,"result":{"format":"png","height":600,)"
              R"("path":"a","width":800}})");
}

TEST(JsonWriter, escapesSlashesQuotesAndControlCharacters) {
    EXPECT_EQ(JsonWriter::write(QJsonValue("/tmp/out.png")), R"("\/tmp\/out.png")");
    EXPECT_EQ(JsonWriter::write(QJsonValue(R"(say "hi" \ bye)")), R"("say \"hi\" \\ bye")");
    EXPECT_EQ(JsonWriter::write(QJsonValue(QString::fromUtf8("a\b\f\n\r\tb"))),
              R"("a\b\f\n\r\tb")");
    EXPECT_EQ(JsonWriter::write(QJsonValue(QString(QChar(0x01)) + QChar(0x1f) + QChar(0x7f))),
              "\"\\u0001\\u001f\x7f\"");
}

TEST(JsonWriter, writesNonAsciiAsUtf8) {
    const QString text = QString::fromUtf8("Grüße 你好 \xF0\x9F\x98\x80");
    EXPECT_EQ(JsonWriter::write(QJsonValue(text)), "\"" + text.toUtf8() + "\"");
}

TEST(JsonWriter, writesWholeNumbersAsIntegersAndOthersShortest) {
    const QJsonArray numbers{3.0, -0.0, 600, 0.1, 1.5e-7, 9007199254740992.0, 1e300, 2.5};
    EXPECT_EQ(JsonWriter::write(QJsonValue(numbers)),
              "[3,0,600,0.1,1.5e-07,9007199254740992,1e+300,2.5]");
}

TEST(JsonWriter, writesNonFiniteAndNullAsNull) {
    const QJsonArray values{std::numeric_limits<double>::quiet_NaN(),
                            std::numeric_limits<double>::infinity(), QJsonValue::Null};
    EXPECT_EQ(JsonWriter::write(QJsonValue(values)), "[null,null,null]");
}

TEST(JsonWriter, outputParsesBackToTheSameValue) {
    const QJsonObject value{{"k/ey", QJsonArray{1, 2.75, "x\ny", QJsonObject{}, QJsonArray{}}},
                            {"", QString::fromUtf8("\xE2\x80\xA8")}};
    EXPECT_EQ(QJsonDocument::fromJson(JsonWriter::write(value)).object(), value);
    EXPECT_EQ(JsonWriter::write(QJsonObject{}), "{}");
}
