#include "api/JsonWriter.h"

#include <QJsonArray>

#include <gtest/gtest.h>

#include <limits>

using namespace vellumix;

// Keys are sorted and escaped inside arrays too; the envelope's tests see
// them sorted at every level of an object.
TEST(JsonWriter, writesEachKindOfValueInItsOneSpelling) {
    const QString nonAscii = QString::fromUtf8("Grüße 你好 \xF0\x9F\x98\x80");
    const std::pair<QJsonValue, QByteArray> cases[] = {
        {QJsonValue("/tmp/out.png"), R"("\/tmp\/out.png")"},
        {QJsonValue(R"(say "hi" \ bye)"), R"("say \"hi\" \\ bye")"},
        {QJsonValue(QString::fromUtf8("a\b\f\n\r\tb")), R"("a\b\f\n\r\tb")"},
        {QJsonValue(QString(QChar(0x01)) + QChar(0x1f) + QChar(0x7f)), "\"\\u0001\\u001f\x7f\""},
        {QJsonValue(nonAscii), "\"" + nonAscii.toUtf8() + "\""},
        {QJsonArray{3.0, -0.0, 600, 0.1, 1.5e-7, 9007199254740992.0, 1e300, 2.5},
         "[3,0,600,0.1,1.5e-07,9007199254740992,1e+300,2.5]"},
        {QJsonArray{std::numeric_limits<double>::quiet_NaN(),
                    std::numeric_limits<double>::infinity(), QJsonValue::Null},
         "[null,null,null]"},
        {QJsonArray{QJsonObject{}, QJsonArray{}}, "[{},[]]"},
        {QJsonArray{QJsonObject{{"b/c", 1}, {"a", false}}}, R"([{"a":false,"b\/c":1}])"},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(JsonWriter::write(value), expected);
    }
}
