#include "platform/wayland/PipeWireStream.h"

#include "platform/PlatformError.h"

#include <QtEndian>

#include <pipewire/pipewire.h>
#include <spa/param/video/format-utils.h>
#include <spa/pod/builder.h>

#include <unistd.h>

#include <array>

namespace vellumix {

namespace {

// Screens are opaque: what a compositor sends as alpha means nothing here.
QImage::Format imageFormat(spa_video_format format) {
    switch (format) {
    case SPA_VIDEO_FORMAT_BGRx:
    case SPA_VIDEO_FORMAT_BGRA:
        return QImage::Format_RGB32;
    case SPA_VIDEO_FORMAT_RGBx:
    case SPA_VIDEO_FORMAT_RGBA:
        return QImage::Format_RGBX8888;
    default:
        return QImage::Format_Invalid;
    }
}

const spa_pod* offeredFormats(spa_pod_builder& builder) {
    const spa_rectangle smallest{1, 1};
    const spa_rectangle largest{16384, 16384};
    const spa_rectangle usual{1920, 1080};
    const spa_fraction none{0, 1};
    const spa_fraction fastest{1000, 1};
    const spa_fraction wanted{30, 1};
    return static_cast<const spa_pod*>(spa_pod_builder_add_object(
        &builder, SPA_TYPE_OBJECT_Format, SPA_PARAM_EnumFormat, SPA_FORMAT_mediaType,
        SPA_POD_Id(SPA_MEDIA_TYPE_video), SPA_FORMAT_mediaSubtype,
        SPA_POD_Id(SPA_MEDIA_SUBTYPE_raw), SPA_FORMAT_VIDEO_format,
        SPA_POD_CHOICE_ENUM_Id(5, SPA_VIDEO_FORMAT_BGRx, SPA_VIDEO_FORMAT_BGRx,
                               SPA_VIDEO_FORMAT_BGRA, SPA_VIDEO_FORMAT_RGBx, SPA_VIDEO_FORMAT_RGBA),
        SPA_FORMAT_VIDEO_size, SPA_POD_CHOICE_RANGE_Rectangle(&usual, &smallest, &largest),
        SPA_FORMAT_VIDEO_framerate, SPA_POD_CHOICE_RANGE_Fraction(&wanted, &none, &fastest)));
}

// Frames must arrive in memory we can read: no GPU buffers.
const spa_pod* wantedBuffers(spa_pod_builder& builder) {
    return static_cast<const spa_pod*>(spa_pod_builder_add_object(
        &builder, SPA_TYPE_OBJECT_ParamBuffers, SPA_PARAM_Buffers, SPA_PARAM_BUFFERS_dataType,
        SPA_POD_Int((1 << SPA_DATA_MemPtr) | (1 << SPA_DATA_MemFd))));
}

bool holdsFrame(const pw_buffer* buffer) {
    const spa_buffer* frame = buffer->buffer;
    return frame->n_datas > 0 && frame->datas[0].data != nullptr &&
           frame->datas[0].chunk->size > 0 &&
           (frame->datas[0].chunk->flags & SPA_CHUNK_FLAG_CORRUPTED) == 0;
}

// PipeWire keeps one global state; the first stream sets it up for good.
void initOnce() {
    static const bool done = [] {
        pw_init(nullptr, nullptr);
        return true;
    }();
    (void)done;
}

} // namespace

// Qt takes the fourth byte of these formats as opaque without looking, and
// keeps it through conversions; compositors leave there whatever their
// blending made of it (GNOME: the alpha of translucent windows).
QImage opaqueCopy(const QImage& frame, const QRect& pixels) {
    QImage copy = frame.copy(pixels);
    const quint32 opaque = frame.format() == QImage::Format_RGB32
                               ? 0xff000000u
                               : qFromLittleEndian<quint32>(0xff000000u);
    for (int y = 0; y < copy.height(); ++y) {
        auto* row = reinterpret_cast<quint32*>(copy.scanLine(y));
        for (int x = 0; x < copy.width(); ++x) {
            row[x] |= opaque;
        }
    }
    return copy.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
}

struct PipeWireStream::Events {
    spa_hook hook{};
    pw_stream_events table{};
};

PipeWireStream::PipeWireStream(int fd, quint32 node) : m_events(std::make_unique<Events>()) {
    initOnce();
    m_loop = pw_thread_loop_new("vellumix-cast", nullptr);
    m_context = pw_context_new(pw_thread_loop_get_loop(m_loop), nullptr, 0);
    if (m_context == nullptr || pw_thread_loop_start(m_loop) < 0) {
        ::close(fd);
        release();
        throw PlatformError(QStringLiteral("PipeWire could not be started"));
    }
    pw_thread_loop_lock(m_loop);
    m_core = pw_context_connect_fd(m_context, fd, nullptr, 0);
    const bool connected = m_core != nullptr && connectStream(node);
    pw_thread_loop_unlock(m_loop);
    if (!connected) {
        release();
        throw PlatformError(QStringLiteral("PipeWire refused the screen cast"));
    }
}

PipeWireStream::~PipeWireStream() {
    release();
}

// Called with the loop locked.
bool PipeWireStream::connectStream(quint32 node) {
    m_stream = pw_stream_new(m_core, "Vellumix",
                             pw_properties_new(PW_KEY_MEDIA_TYPE, "Video", PW_KEY_MEDIA_CATEGORY,
                                               "Capture", PW_KEY_MEDIA_ROLE, "Screen", nullptr));
    if (m_stream == nullptr) {
        return false;
    }
    m_events->table.version = PW_VERSION_STREAM_EVENTS;
    m_events->table.state_changed = [](void* self, pw_stream_state, pw_stream_state state,
                                       const char* error) {
        static_cast<PipeWireStream*>(self)->stateChanged(state, error);
    };
    m_events->table.param_changed = [](void* self, uint32_t id, const spa_pod* param) {
        if (id == SPA_PARAM_Format && param != nullptr) {
            static_cast<PipeWireStream*>(self)->formatChanged(param);
        }
    };
    m_events->table.process = [](void* self) {
        static_cast<PipeWireStream*>(self)->frameArrived();
    };
    // A new format or the stream's end frees the buffers: the kept frame
    // goes with its buffer.
    m_events->table.remove_buffer = [](void* self, pw_buffer* buffer) {
        static_cast<PipeWireStream*>(self)->bufferRemoved(buffer);
    };
    pw_stream_add_listener(m_stream, &m_events->hook, &m_events->table, this);
    std::array<uint8_t, 1024> space{};
    spa_pod_builder builder = SPA_POD_BUILDER_INIT(space.data(), uint32_t(space.size()));
    const spa_pod* formats = offeredFormats(builder);
    return pw_stream_connect(
               m_stream, PW_DIRECTION_INPUT, node,
               pw_stream_flags(PW_STREAM_FLAG_AUTOCONNECT | PW_STREAM_FLAG_MAP_BUFFERS), &formats,
               1) >= 0;
}

// The loop thread stops first, so no callback runs while the rest goes.
void PipeWireStream::release() {
    if (m_loop == nullptr) {
        return;
    }
    pw_thread_loop_stop(m_loop);
    if (m_stream != nullptr) {
        pw_stream_destroy(m_stream);
    }
    if (m_core != nullptr) {
        pw_core_disconnect(m_core);
    }
    if (m_context != nullptr) {
        pw_context_destroy(m_context);
    }
    pw_thread_loop_destroy(m_loop);
    m_loop = nullptr;
}

void PipeWireStream::formatChanged(const spa_pod* format) {
    spa_video_info_raw info{};
    if (spa_format_video_raw_parse(format, &info) < 0) {
        return;
    }
    {
        std::lock_guard lock(m_mutex);
        m_size = QSize(int(info.size.width), int(info.size.height));
        m_format = imageFormat(info.format);
        m_arrived.notify_all();
    }
    std::array<uint8_t, 256> space{};
    spa_pod_builder builder = SPA_POD_BUILDER_INIT(space.data(), uint32_t(space.size()));
    const spa_pod* buffers = wantedBuffers(builder);
    pw_stream_update_params(m_stream, &buffers, 1);
}

void PipeWireStream::stateChanged(int state, const char* error) {
    if (state != PW_STREAM_STATE_ERROR && state != PW_STREAM_STATE_UNCONNECTED) {
        return;
    }
    std::lock_guard lock(m_mutex);
    m_live = false;
    m_error = error != nullptr ? QString::fromUtf8(error) : QString();
    m_arrived.notify_all();
}

// Runs on PipeWire's thread. Only the newest frame matters, so older ones
// waiting in the queue go straight back.
void PipeWireStream::frameArrived() {
    pw_buffer* newest = nullptr;
    while (pw_buffer* buffer = pw_stream_dequeue_buffer(m_stream)) {
        if (newest != nullptr) {
            pw_stream_queue_buffer(m_stream, newest);
        }
        newest = buffer;
    }
    if (newest == nullptr) {
        return;
    }
    if (!holdsFrame(newest)) {
        pw_stream_queue_buffer(m_stream, newest);
        return;
    }
    std::lock_guard lock(m_mutex);
    if (m_held != nullptr) {
        pw_stream_queue_buffer(m_stream, m_held);
    }
    m_held = newest;
    m_heldSince = std::chrono::steady_clock::now();
    m_arrived.notify_all();
}

void PipeWireStream::bufferRemoved(pw_buffer* buffer) {
    std::lock_guard lock(m_mutex);
    if (m_held == buffer) {
        m_held = nullptr;
    }
}

std::unique_lock<std::mutex> PipeWireStream::waitForFrame(QDeadlineTimer deadline) {
    std::unique_lock lock(m_mutex);
    const auto ready = [this] {
        return m_held != nullptr || !m_live;
    };
    m_arrived.wait_until(lock, deadline.deadline<std::chrono::steady_clock>(), ready);
    if (!m_live) {
        throw PlatformError(QStringLiteral("The desktop ended the screen cast") +
                            (m_error.isEmpty() ? QString() : QStringLiteral(": ") + m_error));
    }
    if (m_held == nullptr || m_format == QImage::Format_Invalid) {
        throw PlatformError(QStringLiteral("The desktop sent no image of the screen"));
    }
    return lock;
}

QSize PipeWireStream::frameSize(QDeadlineTimer deadline) {
    std::unique_lock lock(m_mutex);
    m_arrived.wait_until(lock, deadline.deadline<std::chrono::steady_clock>(),
                         [this] { return !m_size.isEmpty() || !m_live; });
    if (m_size.isEmpty()) {
        throw PlatformError(QStringLiteral("The screen cast did not start"));
    }
    return m_size;
}

bool PipeWireStream::hasFrame(QDeadlineTimer deadline,
                              std::chrono::steady_clock::time_point since) {
    std::unique_lock lock(m_mutex);
    const auto ready = [&] {
        return (m_held != nullptr && m_heldSince > since) || !m_live;
    };
    m_arrived.wait_until(lock, deadline.deadline<std::chrono::steady_clock>(), ready);
    return m_held != nullptr && m_heldSince > since;
}

QImage PipeWireStream::read(const QRect& pixels, QDeadlineTimer deadline) {
    const std::unique_lock lock = waitForFrame(deadline);
    const spa_data& data = m_held->buffer->datas[0];
    const int stride = data.chunk->stride > 0 ? data.chunk->stride : m_size.width() * 4;
    const QRect inside = pixels.intersected(QRect(QPoint(0, 0), m_size));
    if (inside != pixels || qsizetype(data.chunk->offset) + qsizetype(stride) * m_size.height() >
                                qsizetype(data.maxsize)) {
        throw PlatformError(QStringLiteral("The region lies outside the screen cast"));
    }
    const uchar* first = static_cast<const uchar*>(data.data) + data.chunk->offset;
    const QImage frame(first, m_size.width(), m_size.height(), stride, m_format);
    // The copy happens while the buffer is still ours.
    return opaqueCopy(frame, pixels);
}

bool PipeWireStream::isLive() const {
    std::lock_guard lock(m_mutex);
    return m_live;
}

} // namespace vellumix
