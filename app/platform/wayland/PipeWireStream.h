#pragma once

#include <QDeadlineTimer>
#include <QImage>
#include <QRect>

#include <condition_variable>
#include <memory>
#include <mutex>

struct pw_buffer;
struct pw_context;
struct pw_core;
struct pw_stream;
struct pw_thread_loop;
struct spa_pod;

namespace vellumix {

// `pixels` of a cast's frame (Format_RGB32 or Format_RGBX8888), opaque, as
// Format_RGBA8888_Premultiplied.
QImage opaqueCopy(const QImage& frame, const QRect& pixels);

// One screen-cast stream of PipeWire, read through shared memory. It keeps
// the newest frame's buffer (handing the one before back), so reading a region
// copies only that region, and an idle screen costs nothing. Safe to read
// from any thread.
class PipeWireStream final {
public:
    // Connects to `node` over the PipeWire remote `fd` (taken over). Throws
    // PlatformError when PipeWire refuses.
    PipeWireStream(int fd, quint32 node);
    ~PipeWireStream();
    PipeWireStream(const PipeWireStream&) = delete;
    PipeWireStream& operator=(const PipeWireStream&) = delete;

    // The stream's frame size in device pixels, once PipeWire agreed on it.
    // Throws PlatformError when it does not in time.
    QSize frameSize(QDeadlineTimer deadline);
    // A frame that came after `since` is kept, or one comes before `deadline`.
    bool hasFrame(QDeadlineTimer deadline = QDeadlineTimer(),
                  std::chrono::steady_clock::time_point since = {});
    // `pixels` of the newest frame as Format_RGBA8888_Premultiplied, opaque.
    // Throws PlatformError when no frame comes in time or the stream ended.
    QImage read(const QRect& pixels, QDeadlineTimer deadline);
    // False once the stream broke or the desktop ended the cast.
    bool isLive() const;

private:
    struct Events;
    bool connectStream(quint32 node);
    void release();
    void formatChanged(const spa_pod* format);
    void stateChanged(int state, const char* error);
    void frameArrived();
    void bufferRemoved(pw_buffer* buffer);
    std::unique_lock<std::mutex> waitForFrame(QDeadlineTimer deadline);

    pw_thread_loop* m_loop = nullptr;
    pw_context* m_context = nullptr;
    pw_core* m_core = nullptr;
    pw_stream* m_stream = nullptr;
    std::unique_ptr<Events> m_events;

    mutable std::mutex m_mutex;
    std::condition_variable m_arrived;
    pw_buffer* m_held = nullptr; // the newest frame, kept from PipeWire
    std::chrono::steady_clock::time_point m_heldSince;
    QSize m_size;
    QImage::Format m_format = QImage::Format_Invalid;
    bool m_live = true;
    QString m_error;
};

} // namespace vellumix
