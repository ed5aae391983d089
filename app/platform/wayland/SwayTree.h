#pragma once

#include "platform/WindowInfo.h"

#include <QJsonObject>
#include <QList>

namespace vellumix {

// The windows in sway's layout tree (its IPC's get_tree answer) that are on
// a visible workspace: floating ones first, as they lie above the tiled, then
// each group in the order of recent focus, so the front-most comes first.
QList<WindowInfo> swayWindows(const QJsonObject& tree);

} // namespace vellumix
