#pragma once

#include "platform/PlatformServices.h"
#include "prefs/Defaults.h"
#include "selection/CaptureChoice.h"
#include "selection/SelectionView.h"
#include "selection/SelectionWindow.h"

#include <QFuture>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>

namespace vellumix {

// Runs the selection overlay: freezes every display, covers each with a
// SelectionView of its frozen picture, and delivers exactly one CaptureChoice
// through the callback after every overlay is hidden. Main thread only.
//
//   controller.begin([](CaptureChoice choice) { ... })
//       .onFailed([](const std::exception& error) { ... });
class SelectionController final : public QObject {
public:
    using Callback = std::function<void(CaptureChoice)>;

    SelectionController(PlatformServices services, Defaults& defaults);
    // Hides the overlay; no outcome is delivered then.
    ~SelectionController() override;

    // Freezes the displays (grabs run on worker threads) and shows the
    // overlays; the future finishes once all are shown. Fails with
    // DocumentError(render) when a display is too large to freeze, with
    // CaptureError when no display can be captured or access is missing, or
    // with the platform's error. A second call replaces the first: its
    // overlay closes and its callback is dropped. With `recording` (or after
    // V) what the user chooses comes as a RecordChoice.
    QFuture<void> begin(Callback callback, bool recording = false);

    // The open overlays, one per display, the one under the pointer last.
    QList<SelectionView*> views() const;

    // Where the last region is kept in the defaults store.
    QString historyKey;
    // A frozen display may hold at most this many pixels.
    static constexpr qint64 maximumDisplayPixels = 90'000'000;

private:
    QFuture<FrozenDisplay> freeze(const DisplayInfo& display);
    void open(const QList<FrozenDisplay>& frozen, const QList<WindowInfo>& windows, QPointF mouse);
    // A hidden window kept from an earlier overlay on `display`, or a new one.
    SelectionWindow* windowFor(const DisplayInfo& display);
    SelectionView::Hooks hooksFor(SelectionView* view);
    void finished(SelectionView* view, std::optional<QRectF> rect, bool allowsScroll);
    void windowsPicked(SelectionView* view, const QList<WindowCandidate>& windows);
    bool toggleAllowed(const SelectionView* asking) const;
    void pointerEntered(SelectionView* view);
    void grabKeyboard();
    void setRecording(bool recording);
    void hide();
    void deliver(CaptureChoice choice);

    PlatformServices m_services;
    Defaults& m_defaults;
    Callback m_callback;
    bool m_recording = false;
    QList<SelectionWindow*> m_open;
    // Hidden windows kept for the next overlay; owned here.
    QList<SelectionWindow*> m_spare;
    QPointer<SelectionView> m_keyView; // keys go to the view under the pointer
    QTimer m_grabRetry;
    int m_grabTries = 0;
    quint64 m_generation = 0;
};

} // namespace vellumix
