#pragma once

#include <QFuture>

namespace vellumix {

// Finishes on the main thread after `milliseconds`.
QFuture<void> delay(int milliseconds);

} // namespace vellumix
