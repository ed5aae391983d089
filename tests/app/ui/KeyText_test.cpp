#include "ui/KeyText.h"

#include <gtest/gtest.h>

using namespace vellumix;

TEST(KeyText, chordsReadAsLinuxKeysInOneModifierOrder) {
    // Stored, shown.
    const std::pair<const char*, const char*> cases[] = {
        {"Undo ⌘Z", "Undo Ctrl+Z"},
        {"Redo ⇧⌘Z", "Redo Ctrl+Shift+Z"},
        {"⌃ ⌥", "Ctrl+Alt"},
        {"⌥⌃2", "Ctrl+Alt+2"},
        {"⌘Z / ⌘⇧Z", "Ctrl+Z / Ctrl+Shift+Z"},
        {"⌥-drag draws over", "Alt-drag draws over"},
        {"R / A / T", "R / A / T"},
    };
    for (const auto& [stored, shown] : cases) {
        EXPECT_EQ(keytext::shown(QString::fromUtf8(stored)), QString::fromUtf8(shown)) << stored;
    }
}
