#include "capture/CaptureService.h"
#include "support/PatternImage.h"

#include "fakes/Awaited.h"
#include "fakes/FakePlatform.h"
#include "fakes/WidgetTestApp.h"

#include <QRasterWindow>

#include <gtest/gtest.h>

#include <memory>

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
    // What, the display, the region in points and the pixels it takes.
    const std::tuple<const char*, DisplayInfo, QRectF, QRect> cases[] = {
        {"half a point at scale 2", left, {10, 20, 300.5, 200}, {20, 40, 601, 400}},
        {"second display", right, {100, 50, 80, 90}, {100, 50, 80, 90}},
        {"whole display", left, {0, 0, 480, 270}, {0, 0, 960, 540}},
        // 0.25 × 2 rounds up to 1 and 479.75 × 2 to 960: one pixel too far.
        {"rounded past the edge", left, {0.25, 0, 479.75, 100}, {0, 0, 960, 200}},
        {"scale 1.25", at125, {10.2, 20.2, 100.4, 60.3}, {13, 25, 126, 75}},
        {"scale 1.5", at150, {10.2, 20.2, 100.4, 60.3}, {15, 30, 151, 90}},
    };
    for (const auto& [name, display, points, pixels] : cases) {
        SCOPED_TRACE(name);
        const auto capture = service(CaptureRegion{display.id, points, display.scale});
        EXPECT_EQ(capture->outputSize(), pixels.size());
        EXPECT_EQ(awaited(capture->frame()).result(),
                  fakes.screen.screens[display.id].copy(pixels));
        ASSERT_FALSE(fakes.screen.recorded().isEmpty());
        EXPECT_EQ(fakes.screen.recorded().last().displayID, display.id);
        EXPECT_EQ(fakes.screen.recorded().last().pixels, pixels);
    }
}

// Before every frame the service checks that the screen may be read and that
// the region's display is there as it was: otherwise the frame fails without
// a grab and the service stays usable. A display moved in the arrangement is
// the same display.
TEST_F(CaptureServiceTest, aFrameFailsWithoutAGrabWhenAccessOrTheDisplayChanged) {
    const CaptureRegion region{left.id, QRectF(300, 150, 100, 100), 2.0};
    const auto capture = service(region);
    DisplayInfo unscaled = left;
    unscaled.scale = 1.0;
    DisplayInfo smaller = left;
    smaller.frame.setSize(QSizeF(320, 200));
    DisplayInfo renamed = left;
    renamed.id = displayIdForName("OTHER");
    DisplayInfo moved = left;
    moved.frame.moveTo(-960, 300);
    moved.pixelOrigin = QPoint(-960, 300);
    const auto removed = CaptureError::Kind::displayRemoved;
    // What, whether access is granted, the displays then, the frame's error.
    const std::tuple<const char*, bool, QList<DisplayInfo>, std::optional<CaptureError::Kind>>
        cases[] = {
            {"access revoked", false, {left, right}, CaptureError::Kind::permission},
            {"scale 2 to 1", true, {unscaled, right}, removed},
            {"smaller resolution", true, {smaller, right}, removed},
            {"renamed (unplugged)", true, {renamed, right}, removed},
            {"gone", true, {right}, removed},
            {"moved in the arrangement", true, {moved, right}, std::nullopt},
        };
    for (const auto& [name, granted, displays, error] : cases) {
        SCOPED_TRACE(name);
        fakes.permission.granted = granted;
        fakes.displays.list = displays;
        const qsizetype grabs = fakes.screen.recorded().size();
        EXPECT_EQ(errorOf(capture->frame()), error);
        EXPECT_EQ(fakes.screen.recorded().size(), grabs + (error ? 0 : 1));
    }
    fakes.displays.list = {right};
    EXPECT_EQ(errorOf(CaptureService::create(region, fakes.services())), removed);
}

// Own windows over the region are withdrawn for the grab and brought back,
// except those the app closed or deleted meanwhile; one beside the region is
// never touched.
TEST_F(CaptureServiceTest, ownWindowsOverTheRegionAreWithdrawnForTheGrab) {
    const auto shown = [](const QRect& geometry) {
        auto window = std::make_unique<QRasterWindow>();
        window->setGeometry(geometry);
        window->show();
        return window;
    };
    const auto kept = shown(QRect(50, 50, 200, 200));
    const auto closed = shown(QRect(60, 60, 50, 50));
    auto deleted = shown(QRect(70, 70, 50, 50));
    const auto beside = shown(QRect(600, 400, 100, 100));
    std::atomic<bool> keptWithdrawn = false;
    std::atomic<bool> besideShown = false;
    std::atomic<qsizetype> waitsBeforeGrab = 0;
    fakes.screen.onGrab = [&] {
        waitsBeforeGrab = fakes.withdrawal.asked.size();
        keptWithdrawn = !kept->isVisible();
        besideShown = beside->isVisible();
        QMetaObject::invokeMethod(
            qApp,
            [&] {
                closed->close();
                deleted.reset();
            },
            Qt::BlockingQueuedConnection);
    };
    const QList<quintptr> hidden = {kept->winId(), closed->winId(), deleted->winId()};
    awaited(service(CaptureRegion{left.id, QRectF(0, 0, 300, 250), 2.0})->frame())
        .waitForFinished();
    // The grab waits until the platform confirms they are off the screen.
    EXPECT_EQ(waitsBeforeGrab, 1);
    EXPECT_EQ(fakes.withdrawal.asked, QList<QList<quintptr>>{hidden});
    EXPECT_TRUE(keptWithdrawn);
    EXPECT_TRUE(besideShown);
    EXPECT_TRUE(kept->isVisible());
    EXPECT_FALSE(closed->isVisible());
    EXPECT_TRUE(beside->isVisible());

    // Where the desktop places them, the frames tell nothing: none is touched.
    fakes.overlays.places = false;
    awaited(service(CaptureRegion{left.id, QRectF(0, 0, 300, 250), 2.0})->frame())
        .waitForFinished();
    EXPECT_FALSE(keptWithdrawn);
    EXPECT_EQ(fakes.withdrawal.asked.size(), 1);
}

} // namespace
} // namespace vellumix
