#include "api/RequestEnvelope.h"

#include "api/APIError.h"
#include "imaging/DocumentError.h"

#include <gtest/gtest.h>

using namespace vellumix;

namespace {

QJsonObject echo(const QJsonObject& args) {
    return args;
}

QString errorField(const QJsonObject& response, const char* key) {
    return response.value("error").toObject().value(QLatin1String(key)).toString();
}

} // namespace

// A result is wrapped under "ok"; an API error keeps its code and message;
// any other error is edit_failed with its description.
TEST(RequestEnvelope, wrapsTheResultOrTheErrorInOneSortedLine) {
    const RequestEnvelope::Handler apiError = [](const QJsonObject&) -> QJsonObject {
        throw APIError("limit", "At most 500 marks");
    };
    const RequestEnvelope::Handler renderError = [](const QJsonObject&) -> QJsonObject {
        throw DocumentError(DocumentError::Kind::render);
    };
    const std::tuple<QByteArray, RequestEnvelope::Handler, QByteArray> cases[] = {
        {R"({"b":"/x","a":2})", echo, R"({"ok":true,"result":{"a":2,"b":"\/x"}})"},
        {"{}", apiError, R"({"error":{"code":"limit","message":"At most 500 marks"},"ok":false})"},
        {"{}", renderError,
         R"({"error":{"code":"edit_failed","message":"Could not render or save the image. )"
         R"(Check available memory and disk space."},"ok":false})"},
    };
    for (const auto& [request, handler, line] : cases) {
        const QJsonObject response = RequestEnvelope::respond(request, handler);
        EXPECT_EQ(RequestEnvelope::line(response), line + '\n');
        EXPECT_EQ(RequestEnvelope::succeeded(response), line.startsWith(R"({"ok":true)"));
    }
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
    // Nesting too deep for the stack is a parse error, not a crash.
    EXPECT_EQ(errorField(RequestEnvelope::respond(QByteArray(200000, '['), echo), "code"),
              "edit_failed");
    const QByteArray allowed = QByteArray(1024, '[') + QByteArray(1024, ']');
    EXPECT_EQ(errorField(RequestEnvelope::respond(allowed, echo), "message"),
              "Expected JSON object");
}
