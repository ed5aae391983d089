#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <optional>

namespace vellumix {

// One request file of the automation queue: its name is the request's id, its
// content {"operation": name, "created": seconds since 1970, "arguments": {...}}.
struct AgentRequest {
    static constexpr qint64 maximumBytes = 2'000'000;
    // A request made this long ago, or this far ahead of our clock, is refused,
    // so that a file left behind is never acted on later.
    static constexpr double freshnessSeconds = 60;

    QString operation;
    QJsonObject arguments; // empty when absent or not an object

    // Throws std::runtime_error with the parser's message for malformed JSON,
    // and APIError "expired_request" for anything else that is not a fresh
    // request object.
    static AgentRequest parse(const QByteArray& bytes, double now);

    // The id of a request file name: a UUID in its 8-4-4-4-12 form, either
    // case, followed by ".json" in lower case; nothing for any other name.
    static std::optional<QByteArray> idOfFileName(const QByteArray& name);
};

} // namespace vellumix
