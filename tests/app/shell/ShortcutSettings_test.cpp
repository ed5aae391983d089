#include "fakes/FakeHotKeys.h"
#include "fakes/MemoryDefaults.h"
#include "fakes/WidgetTestApp.h"
#include "shell/GlobalCaptureShortcut.h"
#include "shell/ShortcutSettings.h"

#include <QComboBox>
#include <QLabel>

using namespace vellumix;

namespace {

QStringList labelTexts(const QWidget* window) {
    QStringList texts;
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        texts.append(label->text());
    }
    return texts;
}

class ShortcutSettingsTest : public testing::Test {
protected:
    void SetUp() override {
        shortcut.start([] {});
        shortcut.showSettings();
        window = shortcut.settingsWindow();
        ASSERT_NE(window, nullptr);
    }

    FakeHotKeys hotKeys;
    MemoryDefaults defaults;
    GlobalCaptureShortcut shortcut{hotKeys, defaults};
    ShortcutSettings* window = nullptr;
};

TEST_F(ShortcutSettingsTest, showsOneWindowWithThePickersAndTheBindingsInLinuxKeys) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Keyboard Shortcuts"));
    EXPECT_EQ(window->size(), QSize(460, 590));
    EXPECT_TRUE(window->isVisible());
    shortcut.showSettings();
    EXPECT_EQ(shortcut.settingsWindow(), window) << "made once, then reused";
    EXPECT_EQ(window->modifierPicker()->currentText(), QStringLiteral("Ctrl+Shift"));
    EXPECT_EQ(window->modifierPicker()->itemText(1), QStringLiteral("Ctrl+Alt"));
    EXPECT_EQ(window->keyPicker()->itemText(0), QStringLiteral("2"));
    EXPECT_EQ(window->keyPicker()->currentText(), QStringLiteral("X"));
    const QStringList texts = labelTexts(window);
    for (const char* expected : {"Ctrl+Shift+L", "Ctrl+Z / Ctrl+Shift+Z", "Backspace / Esc",
                                 "Delete / Dismiss", "Capture from any app", "While editing"}) {
        EXPECT_TRUE(texts.contains(QString::fromUtf8(expected))) << expected;
    }
    EXPECT_TRUE(texts.contains(QStringLiteral(
        "Press a tool key again for options. Tool keys stay inactive while typing. Alt-drag "
        "draws over existing annotations.")));
    EXPECT_TRUE(window->errorLabel()->isHidden());
}

TEST_F(ShortcutSettingsTest, pickingRegistersAndARefusalSnapsBackWithTheMessage) {
    window->modifierPicker()->setCurrentIndex(1);
    EXPECT_EQ(shortcut.modifiers(), QStringLiteral("⌃⌥"));
    EXPECT_EQ(hotKeys.active.values(),
              QList<FakeHotKeys::Chord>({{Qt::Key_X, Qt::ControlModifier | Qt::AltModifier}}));
    hotKeys.refuse({Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier}, 10);
    window->keyPicker()->setCurrentIndex(window->keyPicker()->findText(QStringLiteral("Q")));
    EXPECT_EQ(window->keyPicker()->currentText(), QStringLiteral("X"));
    EXPECT_FALSE(window->errorLabel()->isHidden());
    EXPECT_EQ(window->errorLabel()->text(),
              QStringLiteral("Ctrl+Alt+Q is unavailable (10). Choose another shortcut. "));
}

} // namespace
