#include "shell/GlobalCaptureShortcut.h"

#include "shell/DesktopKeySteps.h"
#include "shell/ShortcutSettings.h"
#include "ui/KeyText.h"

#include <QGuiApplication>
#include <QScreen>

namespace vellumix {

const QList<GlobalCaptureShortcut::KeyCode> GlobalCaptureShortcut::keyCodes = {
    {"2", Qt::Key_2}, {"A", Qt::Key_A}, {"B", Qt::Key_B}, {"C", Qt::Key_C}, {"D", Qt::Key_D},
    {"E", Qt::Key_E}, {"F", Qt::Key_F}, {"G", Qt::Key_G}, {"H", Qt::Key_H}, {"I", Qt::Key_I},
    {"J", Qt::Key_J}, {"K", Qt::Key_K}, {"L", Qt::Key_L}, {"M", Qt::Key_M}, {"N", Qt::Key_N},
    {"O", Qt::Key_O}, {"P", Qt::Key_P}, {"Q", Qt::Key_Q}, {"R", Qt::Key_R}, {"S", Qt::Key_S},
    {"T", Qt::Key_T}, {"U", Qt::Key_U}, {"V", Qt::Key_V}, {"W", Qt::Key_W}, {"X", Qt::Key_X},
    {"Y", Qt::Key_Y}, {"Z", Qt::Key_Z},
};

const QList<GlobalCaptureShortcut::ModifierPair> GlobalCaptureShortcut::modifierPairs = {
    {"⌘⇧", Qt::ControlModifier | Qt::ShiftModifier},
    {"⌃⌥", Qt::ControlModifier | Qt::AltModifier},
};

namespace {

std::optional<Qt::Key> keyNamed(const QString& name) {
    for (const GlobalCaptureShortcut::KeyCode& code : GlobalCaptureShortcut::keyCodes) {
        if (name == QLatin1String(code.name)) {
            return code.key;
        }
    }
    return std::nullopt;
}

Qt::KeyboardModifiers modifiersOf(const QString& stored) {
    for (const GlobalCaptureShortcut::ModifierPair& pair : GlobalCaptureShortcut::modifierPairs) {
        if (stored == QString::fromUtf8(pair.stored)) {
            return pair.modifiers;
        }
    }
    return GlobalCaptureShortcut::modifierPairs.front().modifiers;
}

QString storedString(Defaults& defaults, const char* key, const QString& fallback) {
    const QVariant value = defaults.value(QLatin1String(key));
    return value.isValid() ? value.toString() : fallback;
}

} // namespace

QString GlobalCaptureShortcut::normalizedModifiers(const QString& modifiers) {
    const Qt::KeyboardModifiers mask = modifiersOf(modifiers);
    for (const ModifierPair& pair : modifierPairs) {
        if (pair.modifiers == mask) {
            return QString::fromUtf8(pair.stored);
        }
    }
    return QString::fromUtf8(modifierPairs.front().stored);
}

// A stored modifier text other than the two pairs is read as the pair it is
// registered with, so what the app shows and stores is what works.
GlobalCaptureShortcut::GlobalCaptureShortcut(HotKeyService& hotKeys, Defaults& defaults)
    : m_hotKeys(hotKeys), m_defaults(defaults),
      m_key(storedString(defaults, keyPreference, QStringLiteral("X"))),
      m_modifiers(normalizedModifiers(storedString(defaults, modifiersPreference,
                                                   QString::fromUtf8(modifierPairs[0].stored)))) {}

GlobalCaptureShortcut::~GlobalCaptureShortcut() = default;

void GlobalCaptureShortcut::start(std::function<void()> capture) {
    m_capture = std::move(capture);
    if (m_listening) {
        return;
    }
    m_listening = true;
    // Queued: the capture never runs inside the platform's event handling.
    connect(&m_hotKeys, &HotKeyService::hotKeyPressed, this, &GlobalCaptureShortcut::pressed,
            Qt::QueuedConnection);
    connect(&m_hotKeys, &HotKeyService::hotKeyReleased, this, &GlobalCaptureShortcut::released,
            Qt::QueuedConnection);
    connect(&m_hotKeys, &HotKeyService::registrationFailed, this, &GlobalCaptureShortcut::lost);
    registerShortcut(m_key, m_modifiers);
}

void GlobalCaptureShortcut::registerShortcut(const QString& key, const QString& modifiers) {
    const std::optional<Qt::Key> code = keyNamed(key);
    if (!code) {
        // Registering nothing quietly would leave a menu naming a hot key
        // that does nothing.
        fail(QStringLiteral("\"%1\" is not a key the capture shortcut can use. Choose another "
                            "shortcut. ")
                 .arg(key));
        return;
    }
    const QString pair = normalizedModifiers(modifiers);
    if (m_hotKey && key == m_key && pair == m_modifiers) {
        return;
    }
    const HotKeyRegistration registration = m_hotKeys.registerHotKey(*code, modifiersOf(pair));
    if (!registration.ok()) {
        const QString chord = keytext::shown(pair + key);
        m_desktopSteps =
            registration.bindInDesktop
                ? desktopkeys::steps(qEnvironmentVariable("XDG_CURRENT_DESKTOP"), chord)
                : QString();
        fail(registration.reason.isEmpty()
                 ? QStringLiteral("%1 is unavailable (%2). Choose another shortcut. ")
                       .arg(chord)
                       .arg(registration.status)
                 : QStringLiteral("%1 is unavailable. %2").arg(chord, registration.reason));
        return;
    }
    if (m_hotKey) {
        m_hotKeys.unregisterHotKey(*m_hotKey);
    }
    m_hotKey = registration.id;
    m_key = key;
    m_modifiers = pair;
    m_error.clear();
    m_desktopSteps.clear();
    m_defaults.setValue(QLatin1String(keyPreference), m_key);
    m_defaults.setValue(QLatin1String(modifiersPreference), m_modifiers);
    emit changed();
}

// The system took the key back after registering it (the desktop's dialog
// was declined, say): nothing works, so the menu must not name it.
void GlobalCaptureShortcut::lost(int id, const QString& reason) {
    if (id != m_hotKey) {
        return;
    }
    m_hotKey.reset();
    fail(QStringLiteral("%1 is unavailable. %2").arg(keytext::shown(m_modifiers + m_key), reason));
}

void GlobalCaptureShortcut::fail(const QString& message) {
    m_error = message;
    emit changed();
}

void GlobalCaptureShortcut::pressed(int id) {
    if (id != m_hotKey || m_isPressed) {
        return;
    }
    // A press while a modal window is up still counts as holding the key, so
    // that closing the window does not let the held key start a capture.
    m_isPressed = true;
    activate();
}

void GlobalCaptureShortcut::activate() {
    if (QGuiApplication::modalWindow() == nullptr && m_capture) {
        m_capture();
    }
}

void GlobalCaptureShortcut::released(int id) {
    if (id == m_hotKey) {
        m_isPressed = false;
    }
}

void GlobalCaptureShortcut::showSettings() {
    if (m_settings == nullptr) {
        m_settings = std::make_unique<ShortcutSettings>(*this);
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            m_settings->move(screen->availableGeometry().center() - m_settings->rect().center());
        }
    }
    m_settings->show();
    m_settings->raise();
    m_settings->activateWindow();
}

} // namespace vellumix
