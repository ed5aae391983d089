#pragma once

#include "platform/HotKeyService.h"
#include "platform/x11/X11Connection.h"

#include <QHash>
#include <QSet>
#include <QSocketNotifier>

#include <memory>

namespace vellumix {

// Hot keys as passive key grabs on the root window, on a connection of their
// own: the grabbed keys' events come to this connection alone, so they never
// reach Qt's event handling, and the per-client XKB setting below touches
// nothing of Qt's. The connection is read on the main thread.
class X11HotKeyService final : public HotKeyService {
public:
    // Status of a key that no key of the current keyboard map types.
    static constexpr int noKeyStatus = -2;

    explicit X11HotKeyService(std::unique_ptr<X11Connection> connection);

    HotKeyRegistration registerHotKey(Qt::Key key, Qt::KeyboardModifiers modifiers) override;
    void unregisterHotKey(int id) override;

    // The keycode that types `key` (a letter or digit) on the current keyboard
    // map; 0 when none does.
    xcb_keycode_t keycode(Qt::Key key) const;
    // The X modifier mask of `modifiers`.
    static quint16 modifierMask(Qt::KeyboardModifiers modifiers);

private:
    struct Grab {
        xcb_keycode_t keycode = 0;
        quint16 modifiers = 0;
        bool operator==(const Grab&) const = default;
    };

    void enableDetectableAutoRepeat();
    void readNumLockMask();
    // The grab's modifiers with every combination of Caps Lock and Num Lock,
    // which X matches exactly.
    QList<quint16> lockVariants(quint16 modifiers) const;
    int grabAll(const Grab& grab);
    void ungrabAll(const Grab& grab, const QList<quint16>& masks);
    void readEvents();
    void dispatch(const xcb_generic_event_t* event);

    std::unique_ptr<X11Connection> m_connection;
    std::unique_ptr<QSocketNotifier> m_notifier;
    quint16 m_numLock = XCB_MOD_MASK_2;
    QHash<int, Grab> m_grabs;
    QSet<int> m_down;
    int m_nextId = 1;
};

} // namespace vellumix
