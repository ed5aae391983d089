#include "fakes/FakeHotKeys.h"
#include "fakes/MemoryDefaults.h"
#include "fakes/WidgetTestApp.h"
#include "platform/NoHotKeys.h"
#include "shell/GlobalCaptureShortcut.h"
#include "shell/ShortcutSettings.h"
#include "support/ScopedEnvironment.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QRegularExpression>

using namespace vellumix;

namespace {

constexpr Qt::KeyboardModifiers ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers ctrlAlt = Qt::ControlModifier | Qt::AltModifier;
const QString commandShift = QStringLiteral("⌘⇧");

class GlobalCaptureShortcutTest : public testing::Test {
protected:
    void start() {
        shortcut.start([this] { ++captures; });
    }
    // The hot key's queued press and release reach the shortcut.
    void settle() { QCoreApplication::processEvents(); }

    FakeHotKeys hotKeys;
    MemoryDefaults defaults;
    GlobalCaptureShortcut shortcut{hotKeys, defaults};
    int captures = 0;
};

TEST_F(GlobalCaptureShortcutTest, withNothingStoredTheHotKeyIsCtrlShiftXAndIsStoredOnce) {
    start();
    EXPECT_EQ(hotKeys.active.values(), QList<FakeHotKeys::Chord>({{Qt::Key_X, ctrlShift}}));
    EXPECT_EQ(defaults.values, (QVariantMap{{"shortcut.capture.key", "X"},
                                            {"shortcut.capture.modifiers", commandShift}}));
    // Neither the active choice again nor a second start registers or writes.
    const int writes = defaults.writes;
    shortcut.registerShortcut(QStringLiteral("X"), commandShift);
    start();
    EXPECT_EQ(hotKeys.registrations, 1);
    EXPECT_EQ(defaults.writes, writes);

    // The settings window, made once, shows the choice in Linux key names.
    shortcut.showSettings();
    ShortcutSettings* window = shortcut.settingsWindow();
    ASSERT_NE(window, nullptr);
    shortcut.showSettings();
    EXPECT_EQ(shortcut.settingsWindow(), window);
    EXPECT_EQ(window->modifierPicker()->currentText(), QStringLiteral("Ctrl+Shift"));
    EXPECT_EQ(window->keyPicker()->currentText(), QStringLiteral("X"));
    EXPECT_TRUE(window->errorLabel()->isHidden());
    QStringList texts;
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        texts.append(label->text());
    }
    // Every text reads in this system's key names, not in key symbols.
    const QString all = texts.join(QLatin1Char('|'));
    EXPECT_TRUE(texts.contains(QStringLiteral("Backspace / Esc"))) << all.toStdString();
    EXPECT_FALSE(all.contains(QRegularExpression(QStringLiteral("[⌘⌃⌥⇧]")))) << all.toStdString();
}

TEST_F(GlobalCaptureShortcutTest, pickingRegistersAndARefusalKeepsTheWorkingKeyAndSaysWhy) {
    start();
    shortcut.showSettings();
    ShortcutSettings& window = *shortcut.settingsWindow();
    window.modifierPicker()->setCurrentIndex(1);
    EXPECT_EQ(hotKeys.active.values(), QList<FakeHotKeys::Chord>({{Qt::Key_X, ctrlAlt}}));
    const QVariantMap chosen = defaults.values;
    EXPECT_EQ(chosen.value("shortcut.capture.modifiers").toString(), QStringLiteral("⌃⌥"));

    hotKeys.refuse({Qt::Key_Q, ctrlAlt}, 10);
    window.keyPicker()->setCurrentIndex(window.keyPicker()->findText(QStringLiteral("Q")));
    const QString refusal =
        QStringLiteral("Ctrl+Alt+Q is unavailable (10). Choose another shortcut. ");
    EXPECT_EQ(shortcut.error(), refusal);
    EXPECT_EQ(window.errorLabel()->text(), refusal);
    EXPECT_FALSE(window.errorLabel()->isHidden());
    EXPECT_EQ(window.keyPicker()->currentText(), QStringLiteral("X")) << "the picker snaps back";
    EXPECT_EQ(hotKeys.active.values(), QList<FakeHotKeys::Chord>({{Qt::Key_X, ctrlAlt}}));
    EXPECT_EQ(defaults.values, chosen);

    window.keyPicker()->setCurrentIndex(window.keyPicker()->findText(QStringLiteral("2")));
    EXPECT_EQ(hotKeys.active.values(), QList<FakeHotKeys::Chord>({{Qt::Key_2, ctrlAlt}}));
    EXPECT_EQ(defaults.value("shortcut.capture.key").toString(), QStringLiteral("2"));
    EXPECT_TRUE(window.errorLabel()->isHidden()) << "a working choice clears the message";
}

TEST_F(GlobalCaptureShortcutTest, storedValuesAreReadAndMendedAtStart) {
    // Key, modifiers, the modifiers shown and stored after start, the error.
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        {"K", "⌃⌥", "⌃⌥", ""},
        // Any other modifier text is registered, shown and stored as ⌘⇧.
        {"K", "⌥⌘", "⌘⇧", ""},
        // An unknown key registers nothing and says so.
        {"F13", "⌘⇧", "⌘⇧",
         "\"F13\" is not a key the capture shortcut can use. Choose another shortcut. "},
    };
    for (const auto& [key, modifiers, shown, error] : cases) {
        FakeHotKeys keys;
        MemoryDefaults store;
        store.values = {{"shortcut.capture.key", key},
                        {"shortcut.capture.modifiers", QString::fromUtf8(modifiers)}};
        GlobalCaptureShortcut mended(keys, store);
        mended.start([] {});
        EXPECT_EQ(mended.modifiers(), QString::fromUtf8(shown)) << key << modifiers;
        EXPECT_EQ(store.value("shortcut.capture.modifiers").toString(), QString::fromUtf8(shown));
        EXPECT_EQ(mended.error(), QString::fromUtf8(error));
        EXPECT_EQ(mended.isRegistered(), QString::fromUtf8(error).isEmpty());
    }
}

TEST_F(GlobalCaptureShortcutTest, withoutAnXServerTheMessageSaysWhy) {
    NoHotKeys none;
    GlobalCaptureShortcut withoutX(none, defaults);
    withoutX.start([] {});
    EXPECT_EQ(withoutX.error(), QStringLiteral("Ctrl+Shift+X is unavailable. Global shortcuts "
                                               "need an X11 session; capture from the menu "
                                               "instead."));
    EXPECT_TRUE(withoutX.desktopSteps().isEmpty());
    EXPECT_FALSE(defaults.contains("shortcut.capture.key"));
}

// A Wayland desktop without the portal's shortcuts: the window shows how to
// bind the command in the session's desktop, else in each known one.
TEST_F(GlobalCaptureShortcutTest, aSessionWithoutAppHotKeysShowsTheDesktopsOwnSteps) {
    // The steps' wording is the settings text's to restate; which desktops
    // they name, and that each binds the command, is what may break.
    const std::pair<const char*, QStringList> cases[] = {
        {"sway", {"sway: add the line bindsym Ctrl+Shift+x exec Vellumix --capture"}},
        {"ubuntu:GNOME", {"GNOME: "}},
        {"kde", {"KDE Plasma: "}},
        {"Hyprland", {"GNOME: ", "KDE Plasma: ", "sway: "}},
    };
    hotKeys.answer = HotKeyRegistration{0, -1, QStringLiteral("No portal."), true};
    for (const auto& [name, starts] : cases) {
        const ScopedEnvironment current("XDG_CURRENT_DESKTOP", QByteArray(name));
        GlobalCaptureShortcut refused(hotKeys, defaults);
        refused.start([] {});
        EXPECT_EQ(refused.error(), QStringLiteral("Ctrl+Shift+X is unavailable. No portal."));
        const QStringList lines = refused.desktopSteps().split(QLatin1Char('\n'));
        ASSERT_EQ(lines.size(), starts.size() + 1) << name;
        for (qsizetype i = 0; i < starts.size(); ++i) {
            EXPECT_TRUE(lines[i + 1].startsWith(starts[i])) << lines[i + 1].toStdString();
            EXPECT_TRUE(lines[i + 1].contains(QLatin1String("Vellumix --capture")));
        }
    }
    start();
    shortcut.showSettings();
    const QLabel* steps = shortcut.settingsWindow()->desktopStepsLabel();
    EXPECT_EQ(steps->text(), shortcut.desktopSteps());
    EXPECT_FALSE(steps->isHidden());
    hotKeys.answer.reset();
    shortcut.registerShortcut(QStringLiteral("X"), QStringLiteral("⌃⌥"));
    EXPECT_TRUE(steps->isHidden()) << "a working key needs no steps";
}

TEST_F(GlobalCaptureShortcutTest, aKeyTheSystemDropsLaterIsNoLongerNamedAndSaysWhy) {
    start();
    const int id = hotKeys.active.firstKey();
    hotKeys.drop(id + 1, QStringLiteral("someone else's"));
    EXPECT_TRUE(shortcut.isRegistered());
    hotKeys.drop(id, QStringLiteral("The desktop's shortcut dialog was declined"));
    EXPECT_FALSE(shortcut.isRegistered());
    EXPECT_EQ(shortcut.error(), QStringLiteral("Ctrl+Shift+X is unavailable. The desktop's "
                                               "shortcut dialog was declined"));
    hotKeys.press({Qt::Key_X, ctrlShift});
    settle();
    EXPECT_EQ(captures, 0);
}

TEST_F(GlobalCaptureShortcutTest, aHeldKeyCapturesOnceAndNeverWhileAModalWindowIsUp) {
    shortcut.start([] { ADD_FAILURE() << "the second start replaces the action"; });
    start();
    const FakeHotKeys::Chord chord{Qt::Key_X, ctrlShift};
    QDialog dialog;
    dialog.setModal(true);
    dialog.show();
    ASSERT_NE(QGuiApplication::modalWindow(), nullptr);
    hotKeys.press(chord);
    settle();
    dialog.hide();
    hotKeys.press(chord); // still held: no capture when the dialog closes
    settle();
    EXPECT_EQ(captures, 0);

    hotKeys.release(chord);
    hotKeys.press(chord);
    EXPECT_EQ(captures, 0) << "the capture runs in a later turn, not in the platform's callback";
    settle();
    hotKeys.press(chord); // what a held key repeats
    hotKeys.press(chord);
    settle();
    EXPECT_EQ(captures, 1);
    hotKeys.release(chord);
    hotKeys.press(chord);
    settle();
    EXPECT_EQ(captures, 2);
}

} // namespace
