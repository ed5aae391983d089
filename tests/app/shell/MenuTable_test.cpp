#include "shell/MenuTable.h"

#include <gtest/gtest.h>

using namespace vellumix;

TEST(MenuTable, itemsAreEnabledByTheSessionTheEditorAndTheClipboard) {
    const MenuState idle{};
    const MenuState busy{.busy = true};
    const MenuState running{.running = true};
    const MenuState editing{.hasEditor = true};
    const MenuState clipboard{.clipboardHasImage = true};
    const MenuState runningWithImage{.running = true, .hasEditor = true, .clipboardHasImage = true};
    const struct {
        MenuAction action;
        MenuState state;
        bool enabled;
    } cases[] = {
        {MenuAction::Quit, idle, true},
        {MenuAction::Quit, running, false},
        {MenuAction::Capture, busy, false},
        {MenuAction::OpenImage, running, false},
        {MenuAction::OpenImage, idle, true},
        {MenuAction::OpenFromClipboard, idle, false},
        {MenuAction::OpenFromClipboard, clipboard, true},
        {MenuAction::OpenFromClipboard, runningWithImage, false},
        {MenuAction::SaveImage, idle, false},
        {MenuAction::SaveImage, editing, true},
        {MenuAction::SaveImage, runningWithImage, false},
        {MenuAction::Undo, running, true},
        {MenuAction::About, busy, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(menutable::isEnabled(c.action, c.state), c.enabled) << int(c.action);
    }
}

TEST(MenuTable, captureTitleShowsTheHotKeyOrWhyThereIsNone) {
    EXPECT_EQ(menutable::captureTitle(QStringLiteral("⌘⇧"), QStringLiteral("X"), {}),
              QStringLiteral("Capture    Ctrl+Shift+X"));
    EXPECT_EQ(menutable::captureTitle(QStringLiteral("⌘⇧"), QStringLiteral("X"),
                                      QStringLiteral("⌘⇧X is unavailable (10).")),
              QStringLiteral("Capture    Shortcut unavailable"));
}
