#pragma once

#include "api/ImageAPI.h"

#include <QByteArray>
#include <QJsonObject>

#include <functional>

// The image tool's contract around ImageAPI::apply: one JSON request in, one
// response object out, every failure turned into {"error":{code,message},"ok":false}.
namespace vellumix::RequestEnvelope {

// A request longer than this is refused unparsed; callers read at most one
// byte more so that an endless input cannot hold memory.
inline constexpr qsizetype maximumRequestBytes = 2'000'000;

using Handler = std::function<QJsonObject(const QJsonObject&)>;

// Never throws. The JSON parser refuses documents nested deeper than 1024
// levels before its recursion could exhaust the stack.
QJsonObject respond(const QByteArray& request, const Handler& handler = ImageAPI::apply);
// The bytes for standard output: the compact response and one line feed.
QByteArray line(const QJsonObject& response);
bool succeeded(const QJsonObject& response);

} // namespace vellumix::RequestEnvelope
