#include "api/JsonWriter.h"

#include <QJsonArray>
#include <QStringList>

#include <charconv>
#include <cmath>

namespace vellumix::JsonWriter {

namespace {

// Doubles hold every integer up to 2^53 exactly; larger magnitudes are
// written in the shortest double form, which may use an exponent.
constexpr double largestIntegral = 9007199254740992.0;

void writeValue(QByteArray& out, const QJsonValue& value);

void writeString(QByteArray& out, const QString& text) {
    static constexpr char hex[] = "0123456789abcdef";
    out += '"';
    for (const char byte : text.toUtf8()) {
        const auto c = static_cast<unsigned char>(byte);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '/':
            out += "\\/";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                out += "\\u00";
                out += hex[c >> 4];
                out += hex[c & 0xf];
            } else {
                out += byte;
            }
        }
    }
    out += '"';
}

void writeNumber(QByteArray& out, double number) {
    if (!std::isfinite(number)) {
        out += "null";
        return;
    }
    char buffer[32];
    std::to_chars_result result;
    if (number == std::trunc(number) && std::fabs(number) <= largestIntegral) {
        result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<long long>(number));
    } else {
        result = std::to_chars(buffer, buffer + sizeof buffer, number);
    }
    out.append(buffer, result.ptr - buffer);
}

void writeArray(QByteArray& out, const QJsonArray& array) {
    out += '[';
    for (qsizetype i = 0; i < array.size(); ++i) {
        if (i > 0) {
            out += ',';
        }
        writeValue(out, array.at(i));
    }
    out += ']';
}

void writeObject(QByteArray& out, const QJsonObject& object) {
    QStringList keys = object.keys();
    keys.sort(Qt::CaseSensitive);
    out += '{';
    for (qsizetype i = 0; i < keys.size(); ++i) {
        if (i > 0) {
            out += ',';
        }
        writeString(out, keys.at(i));
        out += ':';
        writeValue(out, object.value(keys.at(i)));
    }
    out += '}';
}

void writeValue(QByteArray& out, const QJsonValue& value) {
    switch (value.type()) {
    case QJsonValue::Bool:
        out += value.toBool() ? "true" : "false";
        break;
    case QJsonValue::Double:
        writeNumber(out, value.toDouble());
        break;
    case QJsonValue::String:
        writeString(out, value.toString());
        break;
    case QJsonValue::Array:
        writeArray(out, value.toArray());
        break;
    case QJsonValue::Object:
        writeObject(out, value.toObject());
        break;
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        out += "null";
        break;
    }
}

} // namespace

QByteArray write(const QJsonValue& value) {
    QByteArray out;
    writeValue(out, value);
    return out;
}

QByteArray write(const QJsonObject& object) {
    return write(QJsonValue(object));
}

} // namespace vellumix::JsonWriter
