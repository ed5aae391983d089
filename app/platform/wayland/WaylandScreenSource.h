#pragma once

#include "platform/PermissionCheck.h"
#include "platform/ScreenSource.h"
#include "platform/wayland/ScreenCastPortal.h"
#include "platform/wayland/WlrScreencopy.h"
#include "prefs/Defaults.h"

#include <QDBusConnection>
#include <QTimer>

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

namespace vellumix {

class PipeWireStream;

// The screen of a Wayland session, through monitor casts of the desktop
// portal read over PipeWire. The first grab of a display asks the desktop
// for it (a dialog on most desktops); the desktop's restore token, kept in
// the preferences per display, lets later starts of the app skip the
// question. Casts stay open while grabs come, and close when idle so that a
// desktop's recording indicator goes away. Also the permission: granted
// until the user refuses in the desktop's dialog, and again on a new try.
class WaylandScreenSource final : public ScreenSource, public PermissionCheck {
public:
    // `offered`: the session bus offers the ScreenCast portal
    // (screenCastOffered), asked once for all sources. With
    // CastPointer::embedded, images show the pointer; such casts are the
    // desktop's to grant apart, and their tokens are kept apart.
    WaylandScreenSource(Defaults& preferences, const QDBusConnection& bus, bool offered,
                        CastPointer pointer = CastPointer::hidden);
    ~WaylandScreenSource() override;

    QImage grabRegion(const DisplayInfo& display, const QRect& pixels) override;

    bool screenRecordingGranted() const override;
    QString howToGrant() const override;
    void askAgain() override { m_refused = false; }
    bool desktopAsks() const override { return true; }

    // One of the app's own windows left the screen. A cast's newest frame
    // may still show it for a frame or two, so grabs soon after wait a
    // moment for a newer one. Any thread.
    void ownWindowHidden();

    static constexpr int idleMilliseconds = 15'000;

private:
    struct Cast;
    std::shared_ptr<Cast> castOf(const DisplayInfo& display);
    std::shared_ptr<Cast> openCastOf(const DisplayInfo& display);
    std::shared_ptr<Cast> open(const DisplayInfo& display);
    std::shared_ptr<Cast> started(const ScreenCast& grant);
    void keepToken(const QString& display, const QString& token);
    void closeIdle();

    Defaults& m_preferences;
    QDBusConnection m_bus;
    const CastPointer m_pointer;
    const QString m_tokensKey;
    const bool m_offered;
    std::atomic<bool> m_refused = false;
    std::mutex m_mutex; // guards m_casts, their use times and m_tokens
    std::vector<std::shared_ptr<Cast>> m_casts;
    QVariantMap m_tokens; // restore tokens by display name
    // Serialises asking the desktop, so two grabs never raise two dialogs.
    std::mutex m_asking;
    WlrScreencopy m_copies;
    std::atomic<std::chrono::steady_clock::time_point> m_ownWindowHidden{};
    QTimer m_idle;
};

} // namespace vellumix
