#pragma once

#include <QString>

namespace vellumix {

// The stable 32-bit identifier of a display: FNV-1a of its name's UTF-8 bytes,
// with 0 (which callers read as "no display") mapped to 1.
quint32 displayIdForName(const QString& name);

} // namespace vellumix
