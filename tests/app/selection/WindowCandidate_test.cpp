#include "selection/WindowCandidate.h"

#include <gtest/gtest.h>

namespace vellumix {
namespace {

TEST(WindowCandidateTest, nameFallsBackFromTitleToApplicationToWindow) {
    WindowCandidate candidate;
    candidate.window.title = QStringLiteral("Report.pdf");
    candidate.window.appName = QStringLiteral("Viewer");
    EXPECT_EQ(candidate.name(), QStringLiteral("Report.pdf"));
    candidate.window.title.clear();
    EXPECT_EQ(candidate.name(), QStringLiteral("Viewer"));
    candidate.window.appName.clear();
    EXPECT_EQ(candidate.name(), QStringLiteral("Window"));
}

} // namespace
} // namespace vellumix
