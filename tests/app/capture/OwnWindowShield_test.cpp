#include "capture/OwnWindowShield.h"
#include "fakes/WidgetTestApp.h"

#include <QRasterWindow>

#include <gtest/gtest.h>

#include <memory>

namespace vellumix {
namespace {

std::unique_ptr<QRasterWindow> shownWindow(const QRect& geometry) {
    auto window = std::make_unique<QRasterWindow>();
    window->setGeometry(geometry);
    window->show();
    return window;
}

// Of three windows over the grabbed area the app closes one and deletes one
// during the grab: only the third comes back. One beside the area is never
// touched.
TEST(OwnWindowShield, bringsBackOnlyTheWindowsStillMeantToBeSeen) {
    auto kept = shownWindow(QRect(100, 100, 50, 50));
    auto closed = shownWindow(QRect(120, 120, 50, 50));
    auto deleted = shownWindow(QRect(140, 140, 50, 50));
    auto beside = shownWindow(QRect(400, 100, 50, 50));
    OwnWindowShield shield(QRectF(90, 90, 200, 200));
    ASSERT_TRUE(shield.withdrewAny());
    EXPECT_FALSE(kept->isVisible());
    EXPECT_FALSE(closed->isVisible());
    EXPECT_TRUE(beside->isVisible());

    closed->close();
    deleted.reset();
    shield.restore();
    EXPECT_TRUE(kept->isVisible());
    EXPECT_FALSE(closed->isVisible());
    EXPECT_TRUE(beside->isVisible());
}

} // namespace
} // namespace vellumix
