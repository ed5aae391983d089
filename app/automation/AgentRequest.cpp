#include "automation/AgentRequest.h"

#include "api/APIError.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

#include <cctype>
#include <cmath>
#include <stdexcept>

namespace vellumix {

namespace {

bool isUuid(const QByteArray& text) {
    if (text.size() != 36) {
        return false;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash ? c != '-' : !std::isxdigit(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return true;
}

// Qt reads only objects and arrays at the top level; any other JSON value,
// one element of an array, is well-formed content that is no request.
bool isJsonScalar(const QByteArray& bytes) {
    const QJsonDocument wrapped = QJsonDocument::fromJson("[" + bytes + "]");
    return wrapped.isArray() && wrapped.array().size() == 1;
}

} // namespace

AgentRequest AgentRequest::parse(const QByteArray& bytes, double now) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError && !isJsonScalar(bytes)) {
        throw std::runtime_error(QStringLiteral("%1 at offset %2")
                                     .arg(error.errorString())
                                     .arg(error.offset)
                                     .toStdString());
    }
    const QJsonObject object = document.object();
    const QJsonValue operation = object.value(QLatin1String("operation"));
    const QJsonValue created = object.value(QLatin1String("created"));
    if (!document.isObject() || !operation.isString() || !created.isDouble() ||
        !(std::fabs(now - created.toDouble()) < freshnessSeconds)) {
        throw APIError(QStringLiteral("expired_request"),
                       QStringLiteral("Request invalid or expired"));
    }
    return {operation.toString(), object.value(QLatin1String("arguments")).toObject()};
}

std::optional<QByteArray> AgentRequest::idOfFileName(const QByteArray& name) {
    if (!name.endsWith(".json")) {
        return std::nullopt;
    }
    const QByteArray stem = name.chopped(5);
    return isUuid(stem) ? std::optional(stem) : std::nullopt;
}

} // namespace vellumix
