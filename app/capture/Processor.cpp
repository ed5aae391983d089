#include "capture/Processor.h"

#include <QPromise>

#include <exception>
#include <memory>

namespace vellumix {

Processor::Processor() {
    // One thread, so operations never overlap and run in the order called.
    m_worker.setMaxThreadCount(1);
}

Processor::~Processor() {
    m_worker.waitForDone();
}

// QtConcurrent would wrap a foreign exception in QUnhandledException; a
// promise carries the original, so callers can catch DocumentError itself.
template <typename Work> auto Processor::submit(Work work) -> QFuture<decltype(work())> {
    using Result = decltype(work());
    auto promise = std::make_shared<QPromise<Result>>();
    QFuture<Result> future = promise->future();
    promise->start();
    m_worker.start([promise, work = std::move(work)]() mutable {
        try {
            promise->addResult(work());
        } catch (...) {
            promise->setException(std::current_exception());
        }
        promise->finish();
    });
    return future;
}

QFuture<ProcessingResult> Processor::accept(const QImage& frame) {
    return submit([this, frame] { return m_stitcher.accept(frame); });
}

QFuture<QImage> Processor::image() {
    return submit([this] { return m_stitcher.image(); });
}

} // namespace vellumix
