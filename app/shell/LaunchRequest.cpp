#include "shell/LaunchRequest.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <stdexcept>

namespace vellumix {

const QString LaunchRequest::usage =
    QStringLiteral("Usage: Vellumix [--capture | [--] IMAGE-FILE...]");

namespace {

const QString captureKey = QStringLiteral("capture");
const QString filesKey = QStringLiteral("files");

[[noreturn]] void refuse(const QString& problem) {
    throw std::invalid_argument((problem + QLatin1Char('\n') + LaunchRequest::usage).toStdString());
}

} // namespace

// "--" ends the options, so a file whose name starts with "--" still opens.
LaunchRequest LaunchRequest::fromArguments(const QStringList& arguments, const QDir& current) {
    LaunchRequest request;
    bool options = true;
    for (const QString& argument : arguments) {
        if (options && argument == QLatin1String("--")) {
            options = false;
        } else if (options && argument == QLatin1String(captureOption)) {
            request.capture = true;
        } else if (options && argument.startsWith(QLatin1String("--"))) {
            refuse(QStringLiteral("Unknown option %1.").arg(argument));
        } else {
            request.files.append(current.absoluteFilePath(argument));
        }
    }
    if (request.capture && !request.files.isEmpty()) {
        refuse(QStringLiteral("--capture opens no files."));
    }
    return request;
}

QByteArray LaunchRequest::encoded() const {
    const QJsonObject object{{captureKey, capture}, {filesKey, QJsonArray::fromStringList(files)}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<LaunchRequest> LaunchRequest::decoded(const QByteArray& line) {
    const QJsonObject object = QJsonDocument::fromJson(line).object();
    if (!object.value(captureKey).isBool() || !object.value(filesKey).isArray()) {
        return std::nullopt;
    }
    LaunchRequest request;
    request.capture = object.value(captureKey).toBool();
    for (const QJsonValue& value : object.value(filesKey).toArray()) {
        if (!value.isString()) {
            return std::nullopt;
        }
        request.files.append(value.toString());
    }
    return request;
}

} // namespace vellumix
