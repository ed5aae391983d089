#pragma once

#include <QString>

namespace vellumix {

// Where no app may hold a global key (a Wayland desktop without the
// GlobalShortcuts portal), the desktop's own keyboard settings run
// `Vellumix --capture`: the steps for each desktop, in one table.
namespace desktopkeys {

// The steps for the desktops named in `currentDesktop` (as in
// $XDG_CURRENT_DESKTOP, "GNOME" or "ubuntu:GNOME"), or for every desktop in
// the table when it names none of them; `chord` is the key as shown
// ("Ctrl+Shift+X").
QString steps(const QString& currentDesktop, const QString& chord);

} // namespace desktopkeys
} // namespace vellumix
