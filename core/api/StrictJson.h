#pragma once

#include <QByteArray>

namespace vellumix::StrictJson {

// Checks that `text` is one JSON text exactly as RFC 8259 writes it, which
// the general parser is more lenient about: numbers such as ".5" or "1.",
// control characters inside strings. It keeps a stack of open brackets
// instead of recursing, so any depth is safe. Throws std::runtime_error
// naming the first fault and its byte offset.
void check(const QByteArray& text);

} // namespace vellumix::StrictJson
