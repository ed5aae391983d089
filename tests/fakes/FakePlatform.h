#pragma once

#include "fakes/FakeHotKeys.h"
#include "fakes/FakeSystemEvents.h"
#include "platform/DisplayId.h"
#include "platform/PlatformError.h"
#include "platform/PlatformServices.h"
#include "platform/qt/PlacedOverlays.h"

#include <QHash>
#include <QMutex>

#include <functional>

namespace vellumix {

// A display as a platform would describe it; `primary` is the primary
// display's frame, for the bottom-left-origin frame.
inline DisplayInfo fakeDisplay(const QString& name, const QRectF& frame, double scale,
                               const QRectF& primary) {
    DisplayInfo display;
    display.name = name;
    display.id = displayIdForName(name);
    display.frame = frame;
    display.visibleFrame = frame;
    display.bottomLeftFrame = flippedFrame(frame, primary);
    display.scale = scale;
    display.pixelOrigin = frame.topLeft().toPoint();
    return display;
}

class FakeDisplaySource final : public DisplaySource {
public:
    QList<DisplayInfo> displays() const override { return list; }
    QPointF mouseLocation() const override { return mouse; }

    QList<DisplayInfo> list;
    QPointF mouse;
};

// Serves crops of one image per display (device pixels); records every grab.
// Grabs run on worker threads, hence the lock.
class FakeScreenSource final : public ScreenSource {
public:
    struct Grab {
        quint32 displayID;
        QRect pixels;
    };

    QImage grabRegion(const DisplayInfo& display, const QRect& pixels) override {
        if (onGrab) {
            onGrab();
        }
        QMutexLocker lock(&mutex);
        grabs.append(Grab{display.id, pixels});
        if (!failure.isEmpty()) {
            throw PlatformError(failure);
        }
        return screens.value(display.id).copy(pixels);
    }

    QList<Grab> recorded() {
        QMutexLocker lock(&mutex);
        return grabs;
    }

    QMutex mutex;
    QHash<quint32, QImage> screens;
    QString failure; // when set, every grab throws a PlatformError with it
    std::function<void()> onGrab;
    QList<Grab> grabs;
};

class FakeWindowSource final : public WindowSource {
public:
    QList<WindowInfo> windows() const override { return list; }
    QImage windowImage(quint32 id) override {
        requested.append(id);
        return images.value(id);
    }
    bool capturesCoveredWindows() const override { return coveredWindows; }

    QList<WindowInfo> list;
    bool coveredWindows = false;
    QHash<quint32, QImage> images;
    QList<quint32> requested;
};

class FakePermission final : public PermissionCheck {
public:
    bool screenRecordingGranted() const override { return granted; }
    QString howToGrant() const override { return QStringLiteral("Grant access"); }
    void askAgain() override { ++asked; }

    bool granted = true;
    int asked = 0;
};

// Records the windows it is asked to wait for and answers at once.
class FakeWithdrawal final : public WindowWithdrawal {
public:
    bool waitUntilGone(const QList<quintptr>& windows, QDeadlineTimer) override {
        QMutexLocker lock(&mutex);
        asked.append(windows);
        return true;
    }

    QMutex mutex;
    QList<QList<quintptr>> asked;
};

// Windows where the app asks, unless told to be a desktop that puts floating
// windows where it likes or shows nothing beneath a covering one.
class FakeOverlays final : public OverlaySurfaces {
public:
    void show(QWidget* window, const DisplayInfo& display, OverlayInput input) override {
        m_placed.show(window, display, input);
    }
    void showFloating(QWidget* window) override { m_placed.showFloating(window); }
    void hide(QWidget* window) override { m_placed.hide(window); }
    bool placesFloatingWindows() const override { return places; }
    bool hidesWhatIsBeneath() const override { return hides; }

    bool places = true;
    bool hides = false;

private:
    PlacedOverlays m_placed;
};

// All fakes together, with the services view the app code takes.
struct FakePlatform {
    FakeDisplaySource displays;
    FakeScreenSource screen;
    FakeWindowSource windows;
    FakePermission permission;
    FakeHotKeys hotKeys;
    FakeSystemEvents systemEvents;
    FakeWithdrawal withdrawal;
    FakeOverlays overlays;

    PlatformServices services() {
        return PlatformServices{displays, screen,       windows,    permission,
                                hotKeys,  systemEvents, withdrawal, overlays};
    }
};

} // namespace vellumix
