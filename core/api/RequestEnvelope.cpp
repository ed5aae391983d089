#include "api/RequestEnvelope.h"

#include "api/APIError.h"
#include "api/JsonWriter.h"
#include "api/StrictJson.h"

#include <QJsonDocument>
#include <QJsonParseError>

namespace vellumix::RequestEnvelope {

namespace {

QJsonObject failure(const QString& code, const QString& message) {
    return {{QStringLiteral("error"),
             QJsonObject{{QStringLiteral("code"), code}, {QStringLiteral("message"), message}}},
            {QStringLiteral("ok"), false}};
}

QJsonObject parse(const QByteArray& request) {
    const APIError notAnObject(QStringLiteral("invalid_arguments"),
                               QStringLiteral("Expected JSON object"));
    if (request.size() > maximumRequestBytes) {
        throw notAnObject;
    }
    StrictJson::check(request);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(request, &error);
    if (error.error != QJsonParseError::NoError) {
        throw std::runtime_error(QStringLiteral("%1 at offset %2")
                                     .arg(error.errorString())
                                     .arg(error.offset)
                                     .toStdString());
    }
    if (!document.isObject()) {
        throw notAnObject;
    }
    return document.object();
}

} // namespace

QJsonObject respond(const QByteArray& request, const Handler& handler) {
    try {
        const QJsonObject result = handler(parse(request));
        return {{QStringLiteral("ok"), true}, {QStringLiteral("result"), result}};
    } catch (const APIError& error) {
        return failure(error.code(), error.message());
    } catch (const std::exception& error) {
        return failure(QStringLiteral("edit_failed"), QString::fromUtf8(error.what()));
    }
}

QByteArray line(const QJsonObject& response) {
    return JsonWriter::write(response) + '\n';
}

bool succeeded(const QJsonObject& response) {
    return response.value(QLatin1String("ok")) == QJsonValue(true);
}

} // namespace vellumix::RequestEnvelope
