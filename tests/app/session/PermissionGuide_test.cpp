#include "fakes/FakePlatform.h"
#include "fakes/WidgetTestApp.h"
#include "session/PermissionGuide.h"
#include "session/PermissionGuideView.h"

#include <QLabel>
#include <QPushButton>

using namespace vellumix;

namespace {

class PermissionGuideTest : public testing::Test {
protected:
    void present() {
        guide.present([this] { ++resumed; });
    }
    // The guide's later turns run.
    static void settle() {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
        }
    }
    static void returnToApp() {
        emit qGuiApp->applicationStateChanged(Qt::ApplicationInactive);
        settle();
        emit qGuiApp->applicationStateChanged(Qt::ApplicationActive);
        settle();
    }

    FakePermission permission;
    PermissionGuide guide{permission};
    int resumed = 0;
};

TEST_F(PermissionGuideTest, returningWithoutAccessExplainsAndWithAccessContinues) {
    permission.granted = false;
    present();
    settle();
    ASSERT_NE(guide.window(), nullptr);
    EXPECT_TRUE(guide.window()->detailLabel()->isHidden());
    returnToApp();
    EXPECT_EQ(resumed, 0);
    EXPECT_EQ(guide.detail(), PermissionGuide::Texts::notActive);
    EXPECT_EQ(guide.window()->detailLabel()->text(), PermissionGuide::Texts::notActive);
    EXPECT_FALSE(guide.window()->detailLabel()->isHidden());
    permission.granted = true;
    returnToApp();
    EXPECT_EQ(resumed, 1);
    EXPECT_EQ(guide.window(), nullptr);
}

TEST_F(PermissionGuideTest, aSecondRequestWhileWaitingQueuesNoSecondCapture) {
    permission.granted = false;
    present();
    PermissionGuideView* first = guide.window();
    present();
    EXPECT_EQ(guide.window(), first);
    permission.granted = true;
    guide.window()->checkButton()->click();
    settle();
    EXPECT_EQ(resumed, 1);
}

TEST_F(PermissionGuideTest, cancelOrClosingAbandonsTheCaptureAndTheNextRequestStartsAnew) {
    const std::function<void(PermissionGuideView*)> abandons[] = {
        [](PermissionGuideView* view) { view->cancelButton()->click(); },
        [](PermissionGuideView* view) { view->close(); },
    };
    for (const auto& abandon : abandons) {
        permission.granted = false;
        present();
        settle();
        abandon(guide.window());
        EXPECT_EQ(guide.window(), nullptr);
        EXPECT_FALSE(guide.isWaiting());
        permission.granted = true;
        returnToApp();
        EXPECT_EQ(resumed, 0);
    }
    // Access is there now: the guide resumes at once, but never inside
    // present itself.
    present();
    EXPECT_EQ(resumed, 0);
    settle();
    EXPECT_EQ(resumed, 1);
    EXPECT_EQ(guide.window(), nullptr);
}

} // namespace
