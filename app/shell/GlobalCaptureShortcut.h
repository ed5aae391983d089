#pragma once

#include "platform/HotKeyService.h"
#include "prefs/Defaults.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace vellumix {

class ShortcutSettings;

// The system-wide hot key that starts a capture: the user's choice of
// modifier pair and key, kept in the defaults and registered with the
// platform. A choice the platform refuses leaves the working hot key in
// place and explains itself in `error`.
class GlobalCaptureShortcut final : public QObject {
    Q_OBJECT
public:
    struct KeyCode {
        const char* name;
        Qt::Key key;
    };
    struct ModifierPair {
        const char* stored; // as kept in the defaults
        Qt::KeyboardModifiers modifiers;
    };

    // The keys the user can choose, in the order the picker lists them.
    static const QList<KeyCode> keyCodes;
    // The two modifier pairs; the first is the default and what any other
    // stored text means.
    static const QList<ModifierPair> modifierPairs;

    static constexpr const char* keyPreference = "shortcut.capture.key";
    static constexpr const char* modifiersPreference = "shortcut.capture.modifiers";

    GlobalCaptureShortcut(HotKeyService& hotKeys, Defaults& defaults);
    ~GlobalCaptureShortcut() override;

    // Remembers what the hot key runs and, the first time, registers the
    // stored shortcut. The action runs on the main thread in a later turn of
    // the event loop, never while a modal window is open.
    void start(std::function<void()> capture);
    // Runs the capture as the hot key does, for a press the desktop made
    // elsewhere (its own key binding running the program): never while a
    // modal window is open.
    void activate();
    // Tries to make (key, modifiers) the hot key.
    void registerShortcut(const QString& key, const QString& modifiers);
    // Shows the "Keyboard Shortcuts" window, made on first use.
    void showSettings();
    // The window, once `showSettings` made it.
    ShortcutSettings* settingsWindow() const { return m_settings.get(); }

    const QString& key() const { return m_key; }
    const QString& modifiers() const { return m_modifiers; }
    // The last registration problem; empty when the hot key works.
    const QString& error() const { return m_error; }
    // How to bind the capture in the desktop's own settings, where the
    // session lets no app hold a key; else empty.
    const QString& desktopSteps() const { return m_desktopSteps; }
    bool isRegistered() const { return m_hotKey.has_value(); }

    // The stored pair a modifier text stands for.
    static QString normalizedModifiers(const QString& modifiers);

signals:
    void changed();

private:
    void pressed(int id);
    void released(int id);
    void lost(int id, const QString& reason);
    void fail(const QString& message);

    HotKeyService& m_hotKeys;
    Defaults& m_defaults;
    QString m_key;
    QString m_modifiers;
    QString m_error;
    QString m_desktopSteps;
    std::function<void()> m_capture;
    std::optional<int> m_hotKey;
    bool m_listening = false;
    bool m_isPressed = false;
    std::unique_ptr<ShortcutSettings> m_settings;
};

} // namespace vellumix
