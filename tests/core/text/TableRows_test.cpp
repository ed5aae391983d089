#include "text/TableRows.h"

#include <gtest/gtest.h>

using namespace vellumix;

namespace {

// A line 20 pixels tall whose baseline is at `baseline`.
RecognisedLine line(const char* text, int block, int left, int baseline) {
    return {QString::fromUtf8(text), QRect(left, baseline - 16, 100, 20), baseline, 0, block};
}

} // namespace

TEST(TableRows, blocksOnCommonBaselinesBecomeRowsOthersKeepTheirOrder) {
    const std::tuple<const char*, std::vector<RecognisedLine>, QStringList> cases[] = {
        {"menu with shortcuts",
         {line("New Window", 0, 10, 20), line("Open Recent", 0, 10, 50),
          line("Duplicate", 1, 10, 80), line("Ctrl+N", 2, 200, 21), line("Ctrl+D", 2, 200, 80)},
         {"New Window Ctrl+N", "Open Recent", "Duplicate Ctrl+D"}},
        {"labels cut into short blocks beside single shortcuts",
         {line("New Window", 0, 10, 20), line("Open Recent", 0, 10, 50), line("Share", 1, 10, 80),
          line("Close Window", 1, 10, 110), line("Ctrl+N", 2, 200, 20),
          line("Ctrl+W", 3, 200, 111)},
         {"New Window Ctrl+N", "Open Recent", "Share", "Close Window Ctrl+W"}},
        {"sidebar beside a pane, one baseline shared by chance",
         {line("Recents", 0, 10, 20), line("Desktop", 0, 10, 50), line("Music", 0, 10, 80),
          line("Desktop", 1, 200, 28), line("12 items", 1, 200, 50), line("notes.txt", 1, 200, 72)},
         {"Recents", "Desktop", "Music", "Desktop", "12 items", "notes.txt"}},
        {"heading above a table",
         {line("Files", 0, 10, 10), line("Name", 1, 10, 40), line("a.pdf", 1, 10, 70),
          line("Size", 2, 150, 40), line("2 KB", 2, 150, 70)},
         {"Files", "Name Size", "a.pdf 2 KB"}},
    };
    for (const auto& [name, lines, expected] : cases) {
        EXPECT_EQ(TableRows::readingOrder(lines), expected) << name;
    }
}
