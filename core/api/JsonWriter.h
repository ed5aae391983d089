#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>

// The one serialiser for JSON this system writes: compact, keys of every object
// sorted by UTF-16 code unit, "/" written as "\/", control characters as
// \uXXXX escapes, other characters as UTF-8. Whole numbers up to 2^53 in magnitude
// are written as integers ("3", not "3.0"); other finite numbers in the
// shortest form that reads back to the same double; NaN and infinities,
// which JSON cannot hold, as null.
namespace vellumix::JsonWriter {

QByteArray write(const QJsonValue& value);
QByteArray write(const QJsonObject& object);

} // namespace vellumix::JsonWriter
