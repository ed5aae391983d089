#include "capture/CaptureService.h"
#include "support/PatternImage.h"

#include "fakes/Awaited.h"
#include "fakes/FakePlatform.h"
#include "fakes/WidgetTestApp.h"

#include <QRasterWindow>

#include <gtest/gtest.h>

namespace vellumix {
namespace {

// The kind of the CaptureError `future` fails with; nothing when it succeeds.
template <typename T> std::optional<CaptureError::Kind> errorOf(QFuture<T> future) {
    try {
        awaited(future).waitForFinished();
    } catch (const CaptureError& error) {
        return error.kind();
    }
    return std::nullopt;
}

class CaptureServiceTest : public testing::Test {
protected:
    void SetUp() override {
        const QRectF primary(0, 0, 480, 270);
        left = fakeDisplay("LEFT", primary, 2.0, primary);
        right = fakeDisplay("RIGHT", QRectF(960, 0, 960, 540), 1.0, primary);
        fakes.displays.list = {left, right};
        fakes.screen.screens.insert(left.id, patternImage(QSize(960, 540)));
        fakes.screen.screens.insert(right.id, patternImage(QSize(960, 540)).mirrored(true, true));
    }

    std::shared_ptr<CaptureService> service(const CaptureRegion& region) {
        return awaited(CaptureService::create(region, fakes.services())).result();
    }

    FakePlatform fakes;
    DisplayInfo left;
    DisplayInfo right;
};

// A region takes the device pixels it covers on its own display, far edges
// less than half a pixel in taken up, and never a pixel past the display.
TEST_F(CaptureServiceTest, aRegionTakesThePixelsItCoversOnItsDisplay) {
    const QRectF frame(0, 0, 400, 300);
    const DisplayInfo at125 = fakeDisplay("AT125", frame, 1.25, frame);
    const DisplayInfo at150 = fakeDisplay("AT150", frame, 1.5, frame);
    fakes.displays.list << at125 << at150;
    fakes.screen.screens.insert(at125.id, patternImage(QSize(500, 375)));
    fakes.screen.screens.insert(at150.id, patternImage(QSize(600, 450)));
    const struct {
        const char* name;
        DisplayInfo display;
        QRectF points;
        QRect pixels;
    } cases[] = {
        {"half a point at scale 2", left, {10, 20, 300.5, 200}, {20, 40, 601, 400}},
        {"second display", right, {100, 50, 80, 90}, {100, 50, 80, 90}},
        {"whole display", left, {0, 0, 480, 270}, {0, 0, 960, 540}},
        // 0.25 × 2 rounds up to 1 and 479.75 × 2 to 960: one pixel too far.
        {"rounded past the edge", left, {0.25, 0, 479.75, 100}, {0, 0, 960, 200}},
        {"scale 1.25", at125, {10.2, 20.2, 100.4, 60.3}, {13, 25, 126, 75}},
        {"scale 1.5", at150, {10.2, 20.2, 100.4, 60.3}, {15, 30, 151, 90}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto capture = service(CaptureRegion{c.display.id, c.points, c.display.scale});
        EXPECT_EQ(capture->outputSize(), c.pixels.size());
        EXPECT_EQ(awaited(capture->frame()).result(),
                  fakes.screen.screens[c.display.id].copy(c.pixels));
        ASSERT_FALSE(fakes.screen.recorded().isEmpty());
        EXPECT_EQ(fakes.screen.recorded().last().displayID, c.display.id);
        EXPECT_EQ(fakes.screen.recorded().last().pixels, c.pixels);
    }
}

TEST_F(CaptureServiceTest, revokedPermissionFailsTheNextFrameWithoutGrabbing) {
    const auto capture = service(CaptureRegion{left.id, QRectF(0, 0, 100, 100), 2.0});
    fakes.permission.granted = false;
    EXPECT_EQ(errorOf(capture->frame()), CaptureError::Kind::permission);
    EXPECT_TRUE(fakes.screen.recorded().isEmpty());
    // A failed frame leaves the service usable.
    fakes.permission.granted = true;
    EXPECT_EQ(errorOf(capture->frame()), std::nullopt);
}

TEST_F(CaptureServiceTest, displayChangesFailTheNextFrameWithDisplayRemoved) {
    const CaptureRegion region{left.id, QRectF(300, 150, 100, 100), 2.0};
    const auto capture = service(region);
    struct Change {
        const char* what;
        std::function<void(DisplayInfo&)> apply;
    };
    const Change changes[] = {
        {"scale 2 to 1",
         [](DisplayInfo& d) {
             d.scale = 1.0;
         }},
        {"smaller resolution",
         [](DisplayInfo& d) {
             d.frame.setSize(QSizeF(320, 200));
         }},
        {"renamed (unplugged)",
         [](DisplayInfo& d) {
             d.id = displayIdForName("OTHER");
         }},
    };
    for (const Change& change : changes) {
        DisplayInfo changed = left;
        change.apply(changed);
        fakes.displays.list = {changed, right};
        EXPECT_EQ(errorOf(capture->frame()), CaptureError::Kind::displayRemoved) << change.what;
    }
    fakes.displays.list = {right};
    EXPECT_EQ(errorOf(capture->frame()), CaptureError::Kind::displayRemoved);
    EXPECT_TRUE(fakes.screen.recorded().isEmpty());
    EXPECT_EQ(errorOf(CaptureService::create(region, fakes.services())),
              CaptureError::Kind::displayRemoved);
}

TEST_F(CaptureServiceTest, movingTheDisplayInTheArrangementKeepsCapturing) {
    const auto capture = service(CaptureRegion{right.id, QRectF(0, 0, 100, 100), 1.0});
    DisplayInfo moved = right;
    moved.frame.moveTo(-960, 300);
    moved.pixelOrigin = QPoint(-960, 300);
    fakes.displays.list = {left, moved};
    EXPECT_EQ(errorOf(capture->frame()), std::nullopt);
}

TEST_F(CaptureServiceTest, platformErrorsPassThroughUnchanged) {
    const auto capture = service(CaptureRegion{left.id, QRectF(0, 0, 100, 100), 2.0});
    fakes.screen.failure = QStringLiteral("The X server went away.");
    try {
        awaited(capture->frame()).waitForFinished();
        FAIL() << "the frame should fail";
    } catch (const PlatformError& error) {
        EXPECT_STREQ(error.what(), "The X server went away.");
    }
}

TEST_F(CaptureServiceTest, ownWindowOverRegionIsHiddenForTheGrabAndShownAgain) {
    QRasterWindow over;
    over.setGeometry(50, 50, 200, 200);
    over.show();
    QRasterWindow beside;
    beside.setGeometry(600, 400, 100, 100);
    beside.show();
    std::atomic<bool> overVisibleDuringGrab = true;
    std::atomic<bool> besideVisibleDuringGrab = false;
    fakes.screen.onGrab = [&] {
        overVisibleDuringGrab = over.isVisible();
        besideVisibleDuringGrab = beside.isVisible();
    };
    const auto capture = service(CaptureRegion{left.id, QRectF(0, 0, 300, 250), 2.0});
    awaited(capture->frame()).waitForFinished();
    EXPECT_FALSE(overVisibleDuringGrab);
    EXPECT_TRUE(besideVisibleDuringGrab);
    EXPECT_TRUE(over.isVisible());
    EXPECT_TRUE(beside.isVisible());
}

} // namespace
} // namespace vellumix
