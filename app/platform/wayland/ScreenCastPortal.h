#pragma once

#include <QDBusConnection>
#include <QSize>
#include <QString>

#include <optional>

namespace vellumix {

// One monitor cast the desktop granted: its PipeWire node, the monitor's
// size as the desktop says it (points or pixels; may be unknown) and the
// token that opens the same cast later without asking.
struct ScreenCast {
    QString session;
    quint32 node = 0;
    std::optional<QSize> size;
    QString restoreToken;
    int pipeWireFd = -1; // ours to close
};

// Whether a cast's frames show the pointer, drawn in by the desktop.
enum class CastPointer { hidden, embedded };

// Asks the ScreenCast portal for one monitor, with or without the pointer, to be kept
// ("persist until revoked"). With a token from an earlier cast the desktop may
// restore it without a dialog. Null when the user refused; throws
// PlatformError when the portal is missing or fails.
std::optional<ScreenCast> openScreenCast(const QDBusConnection& bus, const QString& restoreToken,
                                         CastPointer pointer);
// True when the session bus offers the ScreenCast portal.
bool screenCastOffered(const QDBusConnection& bus);

} // namespace vellumix
