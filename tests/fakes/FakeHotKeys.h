#pragma once

#include "platform/HotKeyService.h"

#include <QList>
#include <QMap>

#include <optional>

namespace vellumix {

// Records registrations, refuses the chords it is told to (or everything,
// with `answer`), drops a registration later on request, and presses and
// releases hot keys on request.
class FakeHotKeys final : public HotKeyService {
public:
    struct Chord {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool operator==(const Chord&) const = default;
    };

    HotKeyRegistration registerHotKey(Qt::Key key, Qt::KeyboardModifiers modifiers) override {
        ++registrations;
        if (answer) {
            return *answer;
        }
        const Chord chord{key, modifiers};
        for (const auto& [refusedChord, status] : refused) {
            if (refusedChord == chord) {
                return HotKeyRegistration{0, status, QString()};
            }
        }
        const int id = nextId++;
        active.insert(id, chord);
        return HotKeyRegistration{id, 0, QString()};
    }
    void unregisterHotKey(int id) override { active.remove(id); }

    // Registrations of `chord` fail with `status` from now on.
    void refuse(const Chord& chord, int status) { refused.append({chord, status}); }

    // What a system that answers later does when it declines after all.
    void drop(int id, const QString& reason) {
        active.remove(id);
        emit registrationFailed(id, reason);
    }

    void press(const Chord& chord) {
        for (const int id : active.keys(chord)) {
            emit hotKeyPressed(id);
        }
    }
    void release(const Chord& chord) {
        for (const int id : active.keys(chord)) {
            emit hotKeyReleased(id);
        }
    }

    QList<std::pair<Chord, int>> refused;
    std::optional<HotKeyRegistration> answer;
    QMap<int, Chord> active;
    int registrations = 0;
    int nextId = 1;
};

} // namespace vellumix
