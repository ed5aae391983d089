#include "fakes/WidgetTestApp.h"
#include "ui/HintBubble.h"
#include "ui/HintDismissal.h"
#include "ui/ShortcutHint.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPushButton>

using namespace vellumix;

namespace {

// A delay that fires only when the test says so.
class ManualDelay final : public HintDelay {
public:
    void start(std::chrono::milliseconds delay, std::function<void()> fired) override {
        started = delay;
        pending = std::move(fired);
    }
    void cancel() override { pending = nullptr; }
    void fire() {
        if (pending) {
            std::exchange(pending, nullptr)();
        }
    }

    std::chrono::milliseconds started{0};
    std::function<void()> pending;
};

class ShortcutHintTest : public testing::Test {
protected:
    void SetUp() override {
        button.setGeometry(300, 200, 40, 28);
        button.show();
        auto owned = std::make_unique<ManualDelay>();
        delay = owned.get();
        hint = new ShortcutHint(&button, QStringLiteral("Undo ⌘Z"), dismissal, std::move(owned));
    }
    void enter() {
        QEnterEvent event(QPointF(5, 5), QPointF(5, 5), QPointF(305, 205));
        QCoreApplication::sendEvent(&button, &event);
    }
    void leave() {
        QEvent event(QEvent::Leave);
        QCoreApplication::sendEvent(&button, &event);
    }
    void click() {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(305, 205),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&button, &press);
    }

    HintDismissal dismissal;
    QPushButton button;
    ManualDelay* delay = nullptr;
    ShortcutHint* hint = nullptr;
};

TEST_F(ShortcutHintTest, showsOnlyAfterThePointerRestsHalfASecond) {
    enter();
    leave();
    delay->fire();
    EXPECT_FALSE(hint->isShown()) << "left before the delay ran out";
    enter();
    EXPECT_EQ(delay->started, std::chrono::milliseconds(500));
    EXPECT_FALSE(hint->isShown());
    delay->fire();
    ASSERT_TRUE(hint->isShown());
    const HintBubble* bubble = hint->bubble();
    ASSERT_NE(bubble, nullptr);
    EXPECT_EQ(bubble->text(), QStringLiteral("Undo Ctrl+Z"));
    EXPECT_EQ(button.accessibleDescription(), QStringLiteral("Undo Ctrl+Z"));
    const QPoint top = button.mapToGlobal(QPoint(button.width() / 2, 0));
    EXPECT_EQ(bubble->geometry().top(), top.y() - 38);
    EXPECT_NEAR(bubble->geometry().center().x(), top.x(), 1);
    EXPECT_TRUE(bubble->windowFlags().testFlag(Qt::WindowTransparentForInput));
}

TEST_F(ShortcutHintTest, exitClickAndEditorKeysHideIt) {
    const std::function<void()> hiders[] = {
        [this] { leave(); },
        [this] { click(); },
        [this] { dismissal.dismissAll(); },
    };
    for (const auto& hide : hiders) {
        enter();
        delay->fire();
        ASSERT_TRUE(hint->isShown());
        hide();
        EXPECT_FALSE(hint->isShown());
        leave();
    }
}

TEST(HintBubble, isMaskedOnlyWithoutACompositor) {
    const HintBubble opaque(QStringLiteral("Arrow (A)"), false);
    const HintBubble translucent(QStringLiteral("Arrow (A)"), true);
    EXPECT_FALSE(opaque.mask().isEmpty());
    EXPECT_FALSE(opaque.mask().contains(QPoint(0, 0))) << "the rounded corner is cut";
    EXPECT_TRUE(translucent.mask().isEmpty());
    EXPECT_TRUE(translucent.testAttribute(Qt::WA_TranslucentBackground));
}

} // namespace
