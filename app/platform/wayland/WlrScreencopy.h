#pragma once

#include <QImage>
#include <QMutex>
#include <QRect>
#include <QString>

struct wl_display;
struct wl_output;
struct wl_proxy;

namespace vellumix {

// One-off copies of an output through wlroots' screencopy protocol, where
// the compositor offers it (sway and other wlroots desktops). The portal's
// wlr backend sends a cast's first frame only once the output changes, so a
// cast opened over a still screen has nothing to show: this fills that gap
// with the output as it is now. Its own connection to the compositor; safe
// to call from any thread.
class WlrScreencopy final {
public:
    // With `showsPointer`, copies show the pointer where it is.
    explicit WlrScreencopy(bool showsPointer = false);
    ~WlrScreencopy();
    WlrScreencopy(const WlrScreencopy&) = delete;
    WlrScreencopy& operator=(const WlrScreencopy&) = delete;

    // The compositor offers screencopy.
    bool isOffered();
    // `pixels` of the output named `output`, as Format_RGBA8888_Premultiplied,
    // opaque. Throws PlatformError when the compositor cannot copy it.
    QImage copy(const QString& output, const QRect& pixels);

    // The compositor's objects this uses, and one copy's progress.
    struct Globals;
    struct Frame;

private:
    bool connect();
    wl_output* outputNamed(const QString& name) const;
    QImage copyFrame(wl_proxy* request, Frame& frame, const QRect& pixels);

    QMutex m_mutex;
    wl_display* m_display = nullptr;
    Globals* m_globals = nullptr;
    bool m_tried = false;
    const bool m_showsPointer;
};

} // namespace vellumix
