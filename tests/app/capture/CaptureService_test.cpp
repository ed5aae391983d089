#include "capture/CaptureService.h"
#include "support/PatternImage.h"

#include "fakes/Awaited.h"
#include "fakes/FakePlatform.h"
#include "fakes/WidgetTestApp.h"

#include <QRasterWindow>

#include <gtest/gtest.h>

namespace vellumix {
namespace {

class CaptureServiceTest : public testing::Test {
protected:
    void SetUp() override {
        const QRectF primary(0, 0, 480, 270);
        left = fakeDisplay("LEFT", primary, 2.0, primary);
        right = fakeDisplay("RIGHT", QRectF(960, 0, 960, 540), 1.0, primary);
        fakes.displays.list = {left, right};
        static const QImage screen = patternImage(QSize(960, 540));
        fakes.screen.screens.insert(left.id, screen);
        fakes.screen.screens.insert(right.id, screen);
    }

    std::shared_ptr<CaptureService> service(const CaptureRegion& region) {
        return awaited(CaptureService::create(region, fakes.services())).result();
    }

    // The error a failed frame carries, as its kind.
    std::optional<CaptureError::Kind> frameError(const CaptureService& capture) {
        try {
            awaited(capture.frame()).waitForFinished();
        } catch (const CaptureError& error) {
            return error.kind();
        }
        return std::nullopt;
    }

    FakePlatform fakes;
    DisplayInfo left;
    DisplayInfo right;
};

TEST_F(CaptureServiceTest, halfPointRegionAtScaleTwoGivesRoundedPixelsOfTheRegion) {
    const auto capture = service(CaptureRegion{left.id, QRectF(10, 20, 300.5, 200), 2.0});
    EXPECT_EQ(capture->outputSize(), QSize(601, 400));
    const QImage frame = awaited(capture->frame()).result();
    ASSERT_EQ(frame.size(), QSize(601, 400));
    EXPECT_EQ(frame, fakes.screen.screens[left.id].copy(20, 40, 601, 400));
    ASSERT_EQ(fakes.screen.recorded().size(), 1);
    EXPECT_EQ(fakes.screen.recorded()[0].displayID, left.id);
}

TEST_F(CaptureServiceTest, regionOnSecondDisplayReadsThatDisplay) {
    const auto capture = service(CaptureRegion{right.id, QRectF(100, 50, 80, 90), 1.0});
    const QImage frame = awaited(capture->frame()).result();
    EXPECT_EQ(frame, fakes.screen.screens[right.id].copy(100, 50, 80, 90));
    EXPECT_EQ(fakes.screen.recorded()[0].displayID, right.id);
}

TEST_F(CaptureServiceTest, regionSpanningTheWholeDisplayIsAccepted) {
    const auto capture = service(CaptureRegion{left.id, QRectF(0, 0, 480, 270), 2.0});
    EXPECT_EQ(awaited(capture->frame()).result().size(), QSize(960, 540));
}

TEST_F(CaptureServiceTest, regionRoundedPastTheEdgeKeepsItsSizeWithinTheDisplay) {
    // 0.25 × 2 rounds up to 1 and 479.75 × 2 to 960: one pixel too far.
    const auto capture = service(CaptureRegion{left.id, QRectF(0.25, 0, 479.75, 100), 2.0});
    const QImage frame = awaited(capture->frame()).result();
    EXPECT_EQ(frame.size(), QSize(960, 200));
    EXPECT_EQ(fakes.screen.recorded()[0].pixels, QRect(0, 0, 960, 200));
}

TEST_F(CaptureServiceTest, creatingForAMissingDisplayFailsWithDisplayRemoved) {
    QFuture<std::shared_ptr<CaptureService>> future =
        CaptureService::create(CaptureRegion{12345, QRectF(0, 0, 100, 100), 1.0}, fakes.services());
    try {
        awaited(future).waitForFinished();
        ADD_FAILURE() << "created for a missing display";
    } catch (const CaptureError& error) {
        EXPECT_EQ(error.kind(), CaptureError::Kind::displayRemoved);
    }
}

TEST_F(CaptureServiceTest, fractionalScalesTakeTheRoundedPixelsOfTheRegion) {
    struct Case {
        double scale;
        QRect pixels;
    };
    // The region (10.2, 20.2) 100.4 × 60.3 points.
    const Case cases[] = {{1.25, QRect(13, 25, 126, 75)}, {1.5, QRect(15, 30, 151, 90)}};
    for (const Case& c : cases) {
        const QRectF frame(0, 0, 400, 300);
        const DisplayInfo display = fakeDisplay("FRACTIONAL", frame, c.scale, frame);
        fakes.displays.list = {display};
        fakes.screen.screens.insert(display.id, patternImage(QSize(600, 450)));
        const auto capture =
            service(CaptureRegion{display.id, QRectF(10.2, 20.2, 100.4, 60.3), c.scale});
        EXPECT_EQ(capture->outputSize(), c.pixels.size()) << c.scale;
        EXPECT_EQ(awaited(capture->frame()).result(),
                  fakes.screen.screens[display.id].copy(c.pixels))
            << c.scale;
    }
}

TEST_F(CaptureServiceTest, revokedPermissionFailsTheNextFrameWithoutGrabbing) {
    const auto capture = service(CaptureRegion{left.id, QRectF(0, 0, 100, 100), 2.0});
    fakes.permission.granted = false;
    EXPECT_EQ(frameError(*capture), CaptureError::Kind::permission);
    EXPECT_TRUE(fakes.screen.recorded().isEmpty());
    // A failed frame leaves the service usable.
    fakes.permission.granted = true;
    EXPECT_EQ(frameError(*capture), std::nullopt);
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
        EXPECT_EQ(frameError(*capture), CaptureError::Kind::displayRemoved) << change.what;
    }
    fakes.displays.list = {right};
    EXPECT_EQ(frameError(*capture), CaptureError::Kind::displayRemoved);
    EXPECT_TRUE(fakes.screen.recorded().isEmpty());
}

TEST_F(CaptureServiceTest, movingTheDisplayInTheArrangementKeepsCapturing) {
    const auto capture = service(CaptureRegion{right.id, QRectF(0, 0, 100, 100), 1.0});
    DisplayInfo moved = right;
    moved.frame.moveTo(-960, 300);
    moved.pixelOrigin = QPoint(-960, 300);
    fakes.displays.list = {left, moved};
    EXPECT_EQ(frameError(*capture), std::nullopt);
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

TEST(CaptureErrorTest, messagesAndEqualityFollowTheKind) {
    const CaptureError permission(CaptureError::Kind::permission);
    const CaptureError removed(CaptureError::Kind::displayRemoved);
    EXPECT_STREQ(permission.what(), "Screen recording access is required. Allow Vellumix in "
                                    "System Settings and try again. Restart the app if needed.");
    EXPECT_STREQ(removed.what(), "The display or scale changed. Select a new region.");
    EXPECT_EQ(permission, CaptureError(CaptureError::Kind::permission));
    EXPECT_NE(permission, removed);
    EXPECT_EQ(qHash(removed), qHash(CaptureError(CaptureError::Kind::displayRemoved)));
}

} // namespace
} // namespace vellumix
