#include "shell/DesktopKeySteps.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace vellumix;

TEST(DesktopKeySteps, theSessionsDesktopGetsItsOwnStepsAndAnUnknownOneGetsThemAll) {
    const struct {
        const char* desktop;
        const char* chord;
        QStringList starts; // the steps' lines after the heading
    } cases[] = {
        {"GNOME", "Ctrl+Shift+X", {"GNOME: Settings → Keyboard → View and Customise Shortcuts"}},
        {"ubuntu:GNOME", "Ctrl+Shift+X", {"GNOME:"}},
        {"KDE", "Ctrl+Alt+2", {"KDE Plasma: System Settings → Keyboard → Shortcuts → Add New"}},
        {"sway", "Ctrl+Alt+Q", {"sway: add the line bindsym Ctrl+Alt+q exec Vellumix --capture"}},
        {"", "Ctrl+Shift+X", {"GNOME:", "KDE Plasma:", "sway:"}},
        {"Hyprland", "Ctrl+Shift+X", {"GNOME:", "KDE Plasma:", "sway:"}},
    };
    for (const auto& c : cases) {
        const QStringList lines =
            desktopkeys::steps(QString::fromUtf8(c.desktop), QString::fromUtf8(c.chord))
                .split(QLatin1Char('\n'));
        ASSERT_EQ(lines.size(), c.starts.size() + 1) << c.desktop;
        for (qsizetype i = 0; i < c.starts.size(); ++i) {
            EXPECT_TRUE(lines[i + 1].startsWith(c.starts[i])) << lines[i + 1].toStdString();
            EXPECT_TRUE(lines[i + 1].contains(QLatin1String("Vellumix --capture")));
        }
    }
}
