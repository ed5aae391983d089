#include "XServerFixture.h"

namespace vellumix {
namespace {

// Runs with QT_SCREEN_SCALE_FACTORS giving RIGHT a scale of 2.
using ScaledDisplayTest = XServerTest;

TEST_F(ScaledDisplayTest, monitorsAreDisplaysInPointsThatKeepTheirPixels) {
    ASSERT_EQ(services().displays.displays().size(), 2);
    const DisplayInfo left = display("LEFT");
    const DisplayInfo right = display("RIGHT");
    EXPECT_NE(left.id, right.id);
    EXPECT_EQ(left.frame, QRectF(0, 0, 1920, 1080));
    EXPECT_TRUE(left.frame.contains(left.visibleFrame));
    EXPECT_EQ(left.scale, 1.0);
    EXPECT_EQ(right.scale, 2.0);
    EXPECT_EQ(right.frame, QRectF(1920, 0, 960, 540));
    EXPECT_EQ(right.bottomLeftFrame, QRectF(1920, 540, 960, 540));
    EXPECT_EQ(right.pixelRect(), QRect(1920, 0, 1920, 1080));
    EXPECT_TRUE(services().permission.screenRecordingGranted());
    // Windows and the pointer on RIGHT are in its points too: pixel (2500,
    // 300) of the screen is 580 × 300 pixels into RIGHT.
    EXPECT_EQ(patternWindow("Beta").value_or(WindowInfo()).frame, QRectF(2010, 100, 150, 150));
    ASSERT_TRUE(xdotool({"mousemove", "2500", "300"}));
    EXPECT_TRUE(
        waitUntil([&] { return services().displays.mouseLocation() == QPointF(2210, 150); }));
}

TEST_F(ScaledDisplayTest, regionAtScaleTwoReturnsExactlyItsDevicePixels) {
    const DisplayInfo right = display("RIGHT");
    // (100, 110) points are pixels (200, 220) of RIGHT, (20, 20) into Beta;
    // 50.5 points round to 101 pixels.
    const QImage frame = capture(CaptureRegion{right.id, QRectF(100, 110, 50.5, 40), 2.0});
    ASSERT_EQ(frame.size(), QSize(101, 80));
    EXPECT_EQ(
        firstDifference(frame, expectedPattern(patternLayout[1], QPoint(20, 20), QSize(101, 80))),
        "");
}

TEST_F(ScaledDisplayTest, regionCapturedAtAnotherScaleFailsWithDisplayRemoved) {
    const auto service =
        awaited(CaptureService::create(
                    CaptureRegion{display("RIGHT").id, QRectF(0, 0, 100, 100), 1.0}, services()))
            .result();
    EXPECT_EQ(frameFailure(*service), CaptureError::Kind::displayRemoved);
}

} // namespace
} // namespace vellumix
