#pragma once

#include "platform/ScreenSource.h"
#include "platform/x11/X11Connection.h"

#include <QMutex>

namespace vellumix {

// Reads the root window through MIT-SHM into one shared memory segment that
// grows to the largest grab, or through a plain GetImage where the server
// cannot share memory with us (a remote display).
class X11ScreenSource final : public ScreenSource {
public:
    explicit X11ScreenSource(std::unique_ptr<X11Connection> connection);
    ~X11ScreenSource() override;

    QImage grabRegion(const DisplayInfo& display, const QRect& pixels) override;
    // `pixels` in the root window's device pixels, within the root.
    QImage grabRootPixels(const QRect& pixels);

private:
    bool ensureSegment(qsizetype bytes);
    void releaseSegment();
    QImage grabShared(const QRect& pixels);
    QImage grabPlain(const QRect& pixels);

    std::unique_ptr<X11Connection> m_connection;
    QMutex m_mutex; // guards the segment and the fallback flag
    quint32 m_segment = 0;
    uchar* m_memory = nullptr;
    qsizetype m_segmentSize = 0;
    bool m_useShm;
};

} // namespace vellumix
