#include "shell/DesktopKeySteps.h"

#include <QStringList>

namespace vellumix::desktopkeys {

namespace {

// {chord} is the chord as shown, {sway} as a sway binding names it.
const struct {
    const char* desktop; // an entry of $XDG_CURRENT_DESKTOP
    const char* steps;
} table[] = {
    {"GNOME", "GNOME: Settings → Keyboard → View and Customise Shortcuts → Custom Shortcuts → +, "
              "name it Vellumix, enter the command Vellumix --capture and press {chord}."},
    {"KDE", "KDE Plasma: System Settings → Keyboard → Shortcuts → Add New → Command or Script, "
            "enter Vellumix --capture and press {chord}."},
    {"sway", "sway: add the line bindsym {sway} exec Vellumix --capture to ~/.config/sway/config, "
             "then run swaymsg reload."},
};

// sway names letter keys by their lower-case key symbol.
QString swayChord(const QString& chord) {
    const qsizetype key = chord.lastIndexOf(QLatin1Char('+')) + 1;
    return chord.left(key) + chord.mid(key).toLower();
}

} // namespace

QString steps(const QString& currentDesktop, const QString& chord) {
    const QStringList desktops = currentDesktop.split(QLatin1Char(':'));
    QStringList lines;
    QStringList all;
    for (const auto& row : table) {
        const QString line = QString::fromUtf8(row.steps)
                                 .replace(QLatin1String("{chord}"), chord)
                                 .replace(QLatin1String("{sway}"), swayChord(chord));
        all.append(line);
        if (desktops.contains(QLatin1String(row.desktop), Qt::CaseInsensitive)) {
            lines.append(line);
        }
    }
    return QStringLiteral("Bind the capture in the desktop's keyboard settings instead:\n") +
           (lines.isEmpty() ? all : lines).join(QLatin1Char('\n'));
}

} // namespace vellumix::desktopkeys
