#include "platform/DisplayId.h"

namespace vellumix {

quint32 displayIdForName(const QString& name) {
    quint32 hash = 2166136261u;
    for (const char byte : name.toUtf8()) {
        hash ^= quint8(byte);
        hash *= 16777619u;
    }
    return hash == 0 ? 1 : hash;
}

} // namespace vellumix
