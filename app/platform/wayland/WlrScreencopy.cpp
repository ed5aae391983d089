#include "platform/wayland/WlrScreencopy.h"

#include "platform/PlatformError.h"

#include <QMutexLocker>

#include <wayland-client.h>

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <map>

namespace vellumix {

namespace {

// wlr-screencopy-unstable-v1 at version 1, written out as libwayland's
// tables: no scanner output, no protocol file to ship for six messages.
const wl_interface* copyTypes[] = {&wl_buffer_interface};
const wl_message frameRequests[] = {
    {"copy", "o", copyTypes},
    {"destroy", "", nullptr},
};
const wl_message frameEvents[] = {
    {"buffer", "uuuu", nullptr},
    {"flags", "u", nullptr},
    {"ready", "uuu", nullptr},
    {"failed", "", nullptr},
};
const wl_interface frameInterface = {
    "zwlr_screencopy_frame_v1", 1, 2, frameRequests, 4, frameEvents};
const wl_interface* captureTypes[] = {&frameInterface, nullptr, &wl_output_interface};
const wl_message managerRequests[] = {
    {"capture_output", "nio", captureTypes},
};
const wl_interface managerInterface = {
    "zwlr_screencopy_manager_v1", 1, 1, managerRequests, 0, nullptr};

constexpr uint32_t flagYInvert = 1;
constexpr uint32_t shmArgb8888 = 0;
constexpr uint32_t shmXrgb8888 = 1;
constexpr uint32_t shmXbgr8888 = 0x34324258;
constexpr uint32_t shmAbgr8888 = 0x34324241;

} // namespace

struct WlrScreencopy::Frame {
    uint32_t format = 0;
    int width = 0;
    int height = 0;
    int stride = 0;
    uint32_t flags = 0;
    bool ready = false;
    bool failed = false;
};

namespace {

using Frame = WlrScreencopy::Frame;

struct FrameListener {
    void (*buffer)(void*, wl_proxy*, uint32_t, uint32_t, uint32_t, uint32_t);
    void (*flags)(void*, wl_proxy*, uint32_t);
    void (*ready)(void*, wl_proxy*, uint32_t, uint32_t, uint32_t);
    void (*failed)(void*, wl_proxy*);
};

const FrameListener frameListener = {
    [](void* data, wl_proxy*, uint32_t format, uint32_t width, uint32_t height, uint32_t stride) {
        auto* frame = static_cast<Frame*>(data);
        *frame = Frame{format, int(width), int(height), int(stride)};
    },
    [](void* data, wl_proxy*, uint32_t flags) { static_cast<Frame*>(data)->flags = flags; },
    [](void* data, wl_proxy*, uint32_t, uint32_t, uint32_t) {
        static_cast<Frame*>(data)->ready = true;
    },
    [](void* data, wl_proxy*) { static_cast<Frame*>(data)->failed = true; },
};

QImage::Format imageFormat(uint32_t format) {
    switch (format) {
    case shmArgb8888:
    case shmXrgb8888:
        return QImage::Format_RGB32;
    case shmXbgr8888:
    case shmAbgr8888:
        return QImage::Format_RGBX8888;
    default:
        return QImage::Format_Invalid;
    }
}

} // namespace

struct WlrScreencopy::Globals {
    wl_registry* registry = nullptr;
    wl_shm* shm = nullptr;
    wl_proxy* manager = nullptr;
    std::map<wl_output*, QString> outputs;
};

namespace {

void outputName(void* data, wl_output* output, const char* name) {
    static_cast<std::map<wl_output*, QString>*>(data)->insert_or_assign(output,
                                                                        QString::fromUtf8(name));
}

const wl_output_listener outputListener = {
    [](void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*, const char*,
       int32_t) {},
    [](void*, wl_output*, uint32_t, int32_t, int32_t, int32_t) {},
    [](void*, wl_output*) {},
    [](void*, wl_output*, int32_t) {},
    outputName,
    [](void*, wl_output*, const char*) {},
};

void global(void* data, wl_registry* registry, uint32_t name, const char* interface,
            uint32_t version) {
    auto* globals = static_cast<WlrScreencopy::Globals*>(data);
    if (std::strcmp(interface, wl_shm_interface.name) == 0) {
        globals->shm = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
    } else if (std::strcmp(interface, managerInterface.name) == 0) {
        globals->manager =
            static_cast<wl_proxy*>(wl_registry_bind(registry, name, &managerInterface, 1));
    } else if (std::strcmp(interface, wl_output_interface.name) == 0 && version >= 4) {
        auto* output =
            static_cast<wl_output*>(wl_registry_bind(registry, name, &wl_output_interface, 4));
        wl_output_add_listener(output, &outputListener, &globals->outputs);
    }
}

const wl_registry_listener registryListener = {global, [](void*, wl_registry*, uint32_t) {
                                               }};

} // namespace

WlrScreencopy::WlrScreencopy(bool showsPointer) : m_showsPointer(showsPointer) {}

WlrScreencopy::~WlrScreencopy() {
    if (m_globals != nullptr) {
        for (const auto& [output, name] : m_globals->outputs) {
            wl_output_destroy(output);
        }
        if (m_globals->shm != nullptr) {
            wl_shm_destroy(m_globals->shm);
        }
        if (m_globals->manager != nullptr) {
            wl_proxy_destroy(m_globals->manager);
        }
        wl_registry_destroy(m_globals->registry);
    }
    if (m_display != nullptr) {
        wl_display_disconnect(m_display);
    }
    delete m_globals;
}

bool WlrScreencopy::connect() {
    if (!std::exchange(m_tried, true)) {
        m_display = wl_display_connect(nullptr);
        if (m_display != nullptr) {
            m_globals = new Globals;
            m_globals->registry = wl_display_get_registry(m_display);
            wl_registry_add_listener(m_globals->registry, &registryListener, m_globals);
            wl_display_roundtrip(m_display);
            wl_display_roundtrip(m_display);
        }
    }
    return m_globals != nullptr && m_globals->manager != nullptr && m_globals->shm != nullptr;
}

bool WlrScreencopy::isOffered() {
    QMutexLocker lock(&m_mutex);
    return connect();
}

wl_output* WlrScreencopy::outputNamed(const QString& name) const {
    for (const auto& [output, outputName] : m_globals->outputs) {
        if (outputName == name) {
            return output;
        }
    }
    throw PlatformError(QStringLiteral("The compositor has no output %1").arg(name));
}

QImage WlrScreencopy::copy(const QString& output, const QRect& pixels) {
    QMutexLocker lock(&m_mutex);
    if (!connect()) {
        throw PlatformError(QStringLiteral("The compositor offers no screen copies"));
    }
    Frame frame;
    wl_proxy* request =
        wl_proxy_marshal_constructor(m_globals->manager, 0, &frameInterface, nullptr,
                                     int32_t(m_showsPointer), outputNamed(output));
    wl_proxy_add_listener(
        request, reinterpret_cast<void (**)(void)>(const_cast<FrameListener*>(&frameListener)),
        &frame);
    while (frame.width == 0 && !frame.failed && wl_display_dispatch(m_display) != -1) {
    }
    const QImage result = frame.failed ? QImage() : copyFrame(request, frame, pixels);
    wl_proxy_marshal(request, 1);
    wl_proxy_destroy(request);
    if (result.isNull()) {
        throw PlatformError(
            QStringLiteral("The compositor could not copy the output %1").arg(output));
    }
    return result;
}

// Into shared memory of the size the compositor asked for; null on failure.
QImage WlrScreencopy::copyFrame(wl_proxy* request, Frame& frame, const QRect& pixels) {
    const qsizetype size = qsizetype(frame.stride) * frame.height;
    const int fd = memfd_create("vellumix-copy", MFD_CLOEXEC);
    void* memory = fd >= 0 && ftruncate(fd, size) == 0
                       ? mmap(nullptr, size_t(size), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0)
                       : MAP_FAILED;
    QImage result;
    if (memory != MAP_FAILED) {
        wl_shm_pool* pool = wl_shm_create_pool(m_globals->shm, fd, int32_t(size));
        wl_buffer* buffer = wl_shm_pool_create_buffer(pool, 0, frame.width, frame.height,
                                                      frame.stride, frame.format);
        wl_proxy_marshal(request, 0, buffer);
        while (!frame.ready && !frame.failed && wl_display_dispatch(m_display) != -1) {
        }
        const QImage::Format format = imageFormat(frame.format);
        if (frame.ready && format != QImage::Format_Invalid) {
            const QImage whole(static_cast<const uchar*>(memory), frame.width, frame.height,
                               frame.stride, format);
            const QImage upright = (frame.flags & flagYInvert) ? whole.mirrored() : whole;
            result = upright.copy(pixels).convertToFormat(QImage::Format_RGBA8888_Premultiplied);
        }
        wl_buffer_destroy(buffer);
        wl_shm_pool_destroy(pool);
        munmap(memory, size_t(size));
    }
    if (fd >= 0) {
        ::close(fd);
    }
    return result;
}

} // namespace vellumix
