#include "platform/NoHotKeys.h"

namespace vellumix {

HotKeyRegistration NoHotKeys::registerHotKey(Qt::Key, Qt::KeyboardModifiers) {
    return HotKeyRegistration{
        0, noServerStatus,
        QStringLiteral("Global shortcuts need an X11 session; capture from the menu instead.")};
}

} // namespace vellumix
