#pragma once

#include <QObject>
#include <QString>

namespace vellumix {

// What a registration came to. `status` 0 means the hot key is active under
// `id`; otherwise it is the platform's status (an X error code such as
// BadAccess when another client holds the key) and nothing changed. `reason`
// is a sentence for failures that no status number explains (no X server).
// `bindInDesktop` says that the session lets no app hold a key: the way to
// a hot key is the desktop's own keyboard settings running
// `Vellumix --capture`.
struct HotKeyRegistration {
    int id = 0;
    int status = 0;
    QString reason;
    bool bindInDesktop = false;

    bool ok() const { return status == 0; }
};

// System-wide hot keys: a key with a modifier set, reported on the main
// thread as press and release wherever the keyboard focus is. A held key
// reports repeated presses but no release until it really goes up.
class HotKeyService : public QObject {
    Q_OBJECT
public:
    // `key` is a letter or digit key (Qt::Key_A .. Qt::Key_Z, Qt::Key_0 ..
    // Qt::Key_9). Registering leaves earlier registrations in place.
    virtual HotKeyRegistration registerHotKey(Qt::Key key, Qt::KeyboardModifiers modifiers) = 0;
    virtual void unregisterHotKey(int id) = 0;

signals:
    void hotKeyPressed(int id);
    void hotKeyReleased(int id);
    // Where the system answers a registration later than `registerHotKey`
    // returns: the registration `id` is gone, for `reason`.
    void registrationFailed(int id, const QString& reason);
};

} // namespace vellumix
