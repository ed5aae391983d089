#include "XServerFixture.h"

#include <QScreen>

namespace vellumix {
namespace {

class DisplayRemovalTest : public XServerTest {
protected:
    void TearDown() override {
        QProcess::execute(QStringLiteral("xrandr"),
                          {"--setmonitor", "RIGHT", "1920/508x1080/286+1920+0", "none"});
        EXPECT_TRUE(waitUntil([] { return QGuiApplication::screens().size() == 2; }));
        XServerTest::TearDown();
    }
};

TEST_F(DisplayRemovalTest, removingTheMonitorFailsTheNextFrameWithDisplayRemoved) {
    const auto service =
        awaited(CaptureService::create(
                    CaptureRegion{display("RIGHT").id, QRectF(0, 0, 300, 200), 1.0}, services()))
            .result();
    EXPECT_EQ(awaited(service->frame()).result().size(), QSize(300, 200));

    ASSERT_EQ(QProcess::execute(QStringLiteral("xrandr"), {"--delmonitor", "RIGHT"}), 0);
    ASSERT_TRUE(waitUntil([] { return QGuiApplication::screens().size() == 1; }));
    EXPECT_EQ(frameFailure(*service), CaptureError::Kind::displayRemoved);
}

} // namespace
} // namespace vellumix
