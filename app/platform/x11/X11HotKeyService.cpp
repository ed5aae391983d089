#include "platform/x11/X11HotKeyService.h"

#include "platform/NoHotKeys.h"

// xkb.h names a field `explicit`, a C++ keyword.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit

#include <QTimer>

namespace vellumix {

namespace {

constexpr quint32 numLockKeysym = 0xff7f;
constexpr quint8 keyPress = 2;
constexpr quint8 keyRelease = 3;
// Shift, Lock, Control and Mod1 to Mod5: the state bits that are keys, not
// pointer buttons.
constexpr quint16 keyModifierBits = 0xff;

} // namespace

X11HotKeyService::X11HotKeyService(std::unique_ptr<X11Connection> connection)
    : m_connection(std::move(connection)) {
    enableDetectableAutoRepeat();
    readNumLockMask();
    m_notifier = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(m_connection->get()),
                                                   QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &X11HotKeyService::readEvents);
}

// Without it X repeats a held key as release-press pairs, which would look
// like the user pressing the hot key again and again.
void X11HotKeyService::enableDetectableAutoRepeat() {
    xcb_connection_t* c = m_connection->get();
    const xcb_query_extension_reply_t* xkb = xcb_get_extension_data(c, &xcb_xkb_id);
    if (xkb == nullptr || !xkb->present) {
        return;
    }
    const auto use =
        takeReply(c, xcb_xkb_use_extension_reply,
                  xcb_xkb_use_extension(c, XCB_XKB_MAJOR_VERSION, XCB_XKB_MINOR_VERSION));
    if (use == nullptr || !use->supported) {
        return;
    }
    constexpr quint32 flag = XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT;
    takeReply(c, xcb_xkb_per_client_flags_reply,
              xcb_xkb_per_client_flags(c, XCB_XKB_ID_USE_CORE_KBD, flag, flag, 0, 0, 0));
}

void X11HotKeyService::readNumLockMask() {
    xcb_connection_t* c = m_connection->get();
    const auto map = takeReply(c, xcb_get_modifier_mapping_reply, xcb_get_modifier_mapping(c));
    if (map == nullptr) {
        return;
    }
    const xcb_keycode_t* keycodes = xcb_get_modifier_mapping_keycodes(map.get());
    const int perModifier = map->keycodes_per_modifier;
    for (int modifier = 0; modifier < 8; ++modifier) {
        for (int i = 0; i < perModifier; ++i) {
            const xcb_keycode_t code = keycodes[modifier * perModifier + i];
            if (code == 0) {
                continue;
            }
            const auto keysyms =
                takeReply(c, xcb_get_keyboard_mapping_reply, xcb_get_keyboard_mapping(c, code, 1));
            if (keysyms != nullptr && keysyms->length > 0 &&
                xcb_get_keyboard_mapping_keysyms(keysyms.get())[0] == numLockKeysym) {
                m_numLock = quint16(1u << modifier);
                return;
            }
        }
    }
}

xcb_keycode_t X11HotKeyService::keycode(Qt::Key key) const {
    const bool letter = key >= Qt::Key_A && key <= Qt::Key_Z;
    const bool digit = key >= Qt::Key_0 && key <= Qt::Key_9;
    if (!letter && !digit) {
        return 0;
    }
    // Letter keys list the lower-case keysym first; Qt's key value is the
    // upper-case one.
    const xcb_keysym_t upper = xcb_keysym_t(key);
    const xcb_keysym_t lower = letter ? upper + 0x20 : upper;
    xcb_connection_t* c = m_connection->get();
    const xcb_setup_t* setup = xcb_get_setup(c);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    const auto map = takeReply(c, xcb_get_keyboard_mapping_reply,
                               xcb_get_keyboard_mapping(c, setup->min_keycode, count));
    if (map == nullptr) {
        return 0;
    }
    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(map.get());
    const int perKeycode = map->keysyms_per_keycode;
    for (int i = 0; i < count; ++i) {
        // The first two keysyms are the key without and with Shift.
        for (int column = 0; column < std::min(perKeycode, 2); ++column) {
            const xcb_keysym_t sym = keysyms[i * perKeycode + column];
            if (sym == lower || sym == upper) {
                return xcb_keycode_t(setup->min_keycode + i);
            }
        }
    }
    return 0;
}

quint16 X11HotKeyService::modifierMask(Qt::KeyboardModifiers modifiers) {
    quint16 mask = 0;
    mask |= modifiers.testFlag(Qt::ControlModifier) ? XCB_MOD_MASK_CONTROL : 0;
    mask |= modifiers.testFlag(Qt::AltModifier) ? XCB_MOD_MASK_1 : 0;
    mask |= modifiers.testFlag(Qt::ShiftModifier) ? XCB_MOD_MASK_SHIFT : 0;
    return mask;
}

QList<quint16> X11HotKeyService::lockVariants(quint16 modifiers) const {
    QList<quint16> masks;
    for (const quint16 locks : {quint16(0), quint16(XCB_MOD_MASK_LOCK), m_numLock,
                                quint16(XCB_MOD_MASK_LOCK | m_numLock)}) {
        if (!masks.contains(modifiers | locks)) {
            masks.append(modifiers | locks);
        }
    }
    return masks;
}

HotKeyRegistration X11HotKeyService::registerHotKey(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    if (xcb_connection_has_error(m_connection->get()) != 0) {
        return HotKeyRegistration{0, NoHotKeys::noServerStatus,
                                  QStringLiteral("The connection to the X server was lost.")};
    }
    const Grab grab{keycode(key), modifierMask(modifiers)};
    if (grab.keycode == 0) {
        return HotKeyRegistration{
            0, noKeyStatus,
            QStringLiteral("No key of this keyboard types %1.").arg(QChar(char16_t(key)))};
    }
    if (const int status = grabAll(grab); status != 0) {
        return HotKeyRegistration{0, status, QString()};
    }
    const int id = m_nextId++;
    m_grabs.insert(id, grab);
    // Checking the grabs read the socket, so events may already wait in
    // XCB's queue where the notifier cannot see them.
    QTimer::singleShot(0, this, &X11HotKeyService::readEvents);
    return HotKeyRegistration{id, 0, QString()};
}

// Grabs every lock variant; when the server refuses one, releases the ones
// taken, so that a failed registration leaves no partial set behind. Returns
// the first X error code, or 0.
int X11HotKeyService::grabAll(const Grab& grab) {
    xcb_connection_t* c = m_connection->get();
    const QList<quint16> masks = lockVariants(grab.modifiers);
    QList<xcb_void_cookie_t> cookies;
    for (const quint16 mask : masks) {
        cookies.append(xcb_grab_key_checked(c, 0, m_connection->root(), mask, grab.keycode,
                                            XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    }
    int status = 0;
    QList<quint16> taken;
    for (qsizetype i = 0; i < cookies.size(); ++i) {
        if (xcb_generic_error_t* error = xcb_request_check(c, cookies[i])) {
            status = status != 0 ? status : error->error_code;
            std::free(error);
        } else {
            taken.append(masks[i]);
        }
    }
    if (status != 0) {
        ungrabAll(grab, taken);
    }
    return status;
}

void X11HotKeyService::ungrabAll(const Grab& grab, const QList<quint16>& masks) {
    for (const quint16 mask : masks) {
        xcb_ungrab_key(m_connection->get(), grab.keycode, m_connection->root(), mask);
    }
    xcb_flush(m_connection->get());
}

void X11HotKeyService::unregisterHotKey(int id) {
    const auto found = m_grabs.constFind(id);
    if (found == m_grabs.cend()) {
        return;
    }
    const Grab grab = *found;
    m_grabs.erase(found);
    m_down.remove(id);
    // X keeps one grab per key and modifiers and client: another registration
    // of the same chord still needs it.
    if (!m_grabs.values().contains(grab)) {
        ungrabAll(grab, lockVariants(grab.modifiers));
    }
}

void X11HotKeyService::readEvents() {
    xcb_connection_t* c = m_connection->get();
    while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
        dispatch(event);
        std::free(event);
    }
    if (xcb_connection_has_error(c) != 0) {
        m_notifier->setEnabled(false);
    }
}

void X11HotKeyService::dispatch(const xcb_generic_event_t* event) {
    const quint8 type = event->response_type & 0x7f;
    if (type != keyPress && type != keyRelease) {
        return;
    }
    const auto* key = reinterpret_cast<const xcb_key_press_event_t*>(event);
    const quint16 locks = XCB_MOD_MASK_LOCK | m_numLock;
    const quint16 state = key->state & keyModifierBits & ~locks;
    // Listeners may change the registrations: decide first, then tell.
    QList<int> pressed;
    QList<int> released;
    for (auto it = m_grabs.cbegin(); it != m_grabs.cend(); ++it) {
        if (it->keycode != key->detail) {
            continue;
        }
        // The modifiers may go up before the key does, so a release counts
        // for a pressed hot key whatever the state.
        if (type == keyRelease && m_down.remove(it.key())) {
            released.append(it.key());
        } else if (type == keyPress && state == it->modifiers) {
            m_down.insert(it.key());
            pressed.append(it.key());
        }
    }
    for (const int id : pressed) {
        emit hotKeyPressed(id);
    }
    for (const int id : released) {
        emit hotKeyReleased(id);
    }
}

} // namespace vellumix
