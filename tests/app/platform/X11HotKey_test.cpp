#include "XServerFixture.h"

#include "fakes/MemoryDefaults.h"
#include "platform/x11/X11HotKeyService.h"
#include "shell/GlobalCaptureShortcut.h"

#include <QScopeGuard>

namespace vellumix {
namespace {

constexpr Qt::KeyboardModifiers ctrlAlt = Qt::ControlModifier | Qt::AltModifier;

// The real hot-key service under the capture shortcut, which starts as
// Ctrl+Shift+X; captures and the service's raw events are counted.
class X11HotKeyTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
        std::unique_ptr<X11Connection> connection = X11Connection::open();
        ASSERT_NE(connection, nullptr);
        service = std::make_unique<X11HotKeyService>(std::move(connection));
        QObject::connect(service.get(), &HotKeyService::hotKeyPressed, [this] { ++presses; });
        QObject::connect(service.get(), &HotKeyService::hotKeyReleased, [this] { ++releases; });
        shortcut = std::make_unique<GlobalCaptureShortcut>(*service, defaults);
        shortcut->start([this] { ++captures; });
        ASSERT_TRUE(shortcut->error().isEmpty()) << shortcut->error().toStdString();
    }

    MemoryDefaults defaults;
    std::unique_ptr<X11HotKeyService> service;
    std::unique_ptr<GlobalCaptureShortcut> shortcut;
    int presses = 0;
    int releases = 0;
    int captures = 0;
};

TEST_F(X11HotKeyTest, aStrokeIsOnePressOneReleaseAndAHeldKeyStartsOneCaptureNotAStream) {
    ASSERT_TRUE(xdotool({"key", "ctrl+shift+x"}));
    ASSERT_TRUE(waitUntil([this] { return releases == 1 && captures == 1; }));
    EXPECT_EQ(presses, 1);
    // A short repeat delay, so the held key repeats soon; the server's
    // default comes back for the tests that share it.
    ASSERT_EQ(QProcess::execute("xset", {"r", "rate", "100", "50"}), 0);
    const auto restoreRate = qScopeGuard([] { QProcess::execute("xset", {"r", "rate"}); });
    ASSERT_TRUE(xdotool({"keydown", "ctrl+shift+x"}));
    // Repeats come as presses without releases in between.
    const bool repeated = waitUntil([this] { return presses >= 5; });
    ASSERT_TRUE(xdotool({"keyup", "ctrl+shift+x"}));
    ASSERT_TRUE(repeated) << "the held key did not repeat";
    ASSERT_TRUE(waitUntil([this] { return releases == 2; }));
    EXPECT_EQ(captures, 2);
}

TEST_F(X11HotKeyTest, aRefusedRegistrationLeavesNoneOfItsGrabsBehindNorTakesOthers) {
    // Another client holds only the Num Lock variant of Ctrl+Alt+X.
    const std::unique_ptr<X11Connection> other = X11Connection::open();
    const xcb_keycode_t x = service->keycode(Qt::Key_X);
    ASSERT_NE(x, 0);
    const quint16 numLockVariant = X11HotKeyService::modifierMask(ctrlAlt) | XCB_MOD_MASK_2;
    xcb_generic_error_t* error = xcb_request_check(
        other->get(), xcb_grab_key_checked(other->get(), 0, other->root(), numLockVariant, x,
                                           XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    ASSERT_EQ(error, nullptr);
    EXPECT_EQ(service->registerHotKey(Qt::Key_X, ctrlAlt).status, XCB_ACCESS);
    // The capture shortcut on the same key still works.
    ASSERT_TRUE(xdotool({"key", "ctrl+shift+x"}));
    EXPECT_TRUE(waitUntil([this] { return captures == 1; }));
    xcb_ungrab_key(other->get(), x, other->root(), numLockVariant);
    xcb_flush(other->get());
    // Every variant is free again: a third client gets them all.
    X11HotKeyService third(X11Connection::open());
    EXPECT_TRUE(third.registerHotKey(Qt::Key_X, ctrlAlt).ok());
}

} // namespace
} // namespace vellumix
