#include "api/RequestEnvelope.h"

#include "api/APIError.h"
#include "imaging/DocumentError.h"

#include <gtest/gtest.h>

using namespace vellumix;

namespace {

QByteArray lineFor(const QByteArray& request, const RequestEnvelope::Handler& handler) {
    return RequestEnvelope::line(RequestEnvelope::respond(request, handler));
}

QJsonObject echo(const QJsonObject& args) {
    return args;
}

QString errorField(const QJsonObject& response, const char* key) {
    return response.value("error").toObject().value(QLatin1String(key)).toString();
}

} // namespace

TEST(RequestEnvelope, successWrapsTheResultUnderOk) {
    const QJsonObject response = RequestEnvelope::respond(R"({"b":"/x","a":2})", echo);
    EXPECT_TRUE(RequestEnvelope::succeeded(response));
    EXPECT_EQ(RequestEnvelope::line(response),
              "{\"ok\":true,\"result\":{\"a\":2,\"b\":\"\\/x\"}}\n");
}

TEST(RequestEnvelope, apiErrorsKeepTheirCodeAndMessage) {
    const auto handler = [](const QJsonObject&) -> QJsonObject {
        throw APIError("limit", "At most 500 marks");
    };
    const QJsonObject response = RequestEnvelope::respond("{}", handler);
    EXPECT_FALSE(RequestEnvelope::succeeded(response));
    EXPECT_EQ(RequestEnvelope::line(response),
              "{\"error\":{\"code\":\"limit\",\"message\":\"At most 500 marks\"},\"ok\":false}\n");
}

TEST(RequestEnvelope, otherErrorsBecomeEditFailedWithTheirDescription) {
    const auto handler = [](const QJsonObject&) -> QJsonObject {
        throw DocumentError(DocumentError::Kind::render);
    };
    EXPECT_EQ(lineFor("{}", handler),
              "{\"error\":{\"code\":\"edit_failed\",\"message\":\"Could not render or save the "
              "image. Check available memory and disk space.\"},\"ok\":false}\n");
}

TEST(RequestEnvelope, nestingTooDeepForTheStackIsAParseErrorNotACrash) {
    const QByteArray deep(200000, '[');
    const QJsonObject response = RequestEnvelope::respond(deep, echo);
    EXPECT_EQ(errorField(response, "code"), "edit_failed");
    const QByteArray allowed = QByteArray(1024, '[') + QByteArray(1024, ']');
    EXPECT_EQ(errorField(RequestEnvelope::respond(allowed, echo), "message"),
              "Expected JSON object");
}

// What RFC 8259 allows passes, however it is spaced; anything else is refused
// as a parse error naming where it departs, before the handler runs.
TEST(RequestEnvelope, parsesStrictlyByTheJsonGrammar) {
    const QByteArray valid =
        " {\"a\" : [-0.5e+3, 0, 1E2, 10, true, false, null, \"\\u00e9\\n\\/\", {}, []],\r\n"
        "\"b\":{\"c\":[[]]}}\t";
    EXPECT_TRUE(RequestEnvelope::succeeded(RequestEnvelope::respond(valid, echo)));
    const char* const invalid[][2] = {
        {R"({"v":.5})", "value expected at offset 5"},
        {R"({"v":1.})", "illegal number at offset 7"},
        {R"({"v":01})", "',' or '}' expected at offset 6"},
        {R"({"v":+1})", "value expected at offset 5"},
        {R"({"v":-})", "illegal number at offset 6"},
        {"{\"v\":\"a\tb\"}", "control character in string at offset 7"},
        {R"({"v":"\x"})", "illegal escape sequence at offset 7"},
        {R"({"v":"\u12g4"})", "illegal escape sequence at offset 10"},
        {R"({"v":[1,]})", "value expected at offset 8"},
        {R"({"v":1,})", "string expected at offset 7"},
        {R"({"v" 1})", "':' expected at offset 5"},
        {R"({"v":tru})", "value expected at offset 5"},
        {R"({"v":1} x)", "unexpected text after the value at offset 8"},
        {R"({"v":"open)", "unterminated string at offset 10"},
    };
    for (const auto& [request, message] : invalid) {
        const QJsonObject response = RequestEnvelope::respond(request, echo);
        EXPECT_EQ(errorField(response, "code"), "edit_failed") << request;
        EXPECT_EQ(errorField(response, "message"), message) << request;
    }
}
