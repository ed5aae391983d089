#include "platform/x11/X11ScreenSource.h"

#include "platform/PlatformError.h"
#include "platform/x11/X11PixelConverter.h"

#include <xcb/shm.h>

#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdlib>

namespace vellumix {

namespace {

PlatformError grabFailed() {
    return PlatformError(QStringLiteral("The screen could not be read from the X server."));
}

} // namespace

X11ScreenSource::X11ScreenSource(std::unique_ptr<X11Connection> connection)
    : m_connection(std::move(connection)), m_useShm(m_connection->hasShm()) {}

X11ScreenSource::~X11ScreenSource() {
    releaseSegment();
}

QImage X11ScreenSource::grabRegion(const DisplayInfo& display, const QRect& pixels) {
    return grabRootPixels(pixels.translated(display.pixelOrigin));
}

QImage X11ScreenSource::grabRootPixels(const QRect& pixels) {
    // The server refuses areas off the screen; that ends as grabFailed.
    if (pixels.isEmpty()) {
        throw PlatformError(QStringLiteral("The requested area is not on the screen."));
    }
    QMutexLocker lock(&m_mutex);
    m_connection->discardEvents();
    if (m_useShm) {
        const qsizetype bytes = qsizetype(pixels.width()) * pixels.height() * 4;
        if (ensureSegment(bytes)) {
            return grabShared(pixels);
        }
        // The server cannot attach our memory: it is not on this machine or
        // has no access to it. Plain GetImage works everywhere.
        m_useShm = false;
    }
    return grabPlain(pixels);
}

bool X11ScreenSource::ensureSegment(qsizetype bytes) {
    if (m_memory != nullptr && m_segmentSize >= bytes) {
        return true;
    }
    releaseSegment();
    const int id = shmget(IPC_PRIVATE, size_t(bytes), IPC_CREAT | 0600);
    if (id < 0) {
        return false;
    }
    void* memory = shmat(id, nullptr, 0);
    // Marked for removal at once: the kernel frees it when both sides detach,
    // even if this process dies.
    shmctl(id, IPC_RMID, nullptr);
    if (memory == reinterpret_cast<void*>(-1)) {
        return false;
    }
    xcb_connection_t* c = m_connection->get();
    const xcb_shm_seg_t segment = xcb_generate_id(c);
    xcb_generic_error_t* error =
        xcb_request_check(c, xcb_shm_attach_checked(c, segment, quint32(id), 0));
    if (error != nullptr) {
        std::free(error);
        shmdt(memory);
        return false;
    }
    m_segment = segment;
    m_memory = static_cast<uchar*>(memory);
    m_segmentSize = bytes;
    return true;
}

void X11ScreenSource::releaseSegment() {
    if (m_memory == nullptr) {
        return;
    }
    xcb_shm_detach(m_connection->get(), m_segment);
    xcb_flush(m_connection->get());
    shmdt(m_memory);
    m_memory = nullptr;
    m_segmentSize = 0;
}

QImage X11ScreenSource::grabShared(const QRect& pixels) {
    xcb_connection_t* c = m_connection->get();
    const X11Reply<xcb_shm_get_image_reply_t> reply =
        takeReply(c, xcb_shm_get_image_reply,
                  xcb_shm_get_image(c, m_connection->root(), qint16(pixels.x()), qint16(pixels.y()),
                                    quint16(pixels.width()), quint16(pixels.height()), ~0u,
                                    XCB_IMAGE_FORMAT_Z_PIXMAP, m_segment, 0));
    if (reply == nullptr) {
        throw grabFailed();
    }
    return imageFromZPixmap(m_memory, pixels.size(), m_connection->layout());
}

QImage X11ScreenSource::grabPlain(const QRect& pixels) {
    xcb_connection_t* c = m_connection->get();
    const X11Reply<xcb_get_image_reply_t> reply = takeReply(
        c, xcb_get_image_reply,
        xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, m_connection->root(), qint16(pixels.x()),
                      qint16(pixels.y()), quint16(pixels.width()), quint16(pixels.height()), ~0u));
    if (reply == nullptr ||
        xcb_get_image_data_length(reply.get()) < pixels.width() * pixels.height() * 4) {
        throw grabFailed();
    }
    return imageFromZPixmap(xcb_get_image_data(reply.get()), pixels.size(), m_connection->layout());
}

} // namespace vellumix
