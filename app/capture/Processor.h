#pragma once

#include "stitching/ScrollStitcher.h"

#include <QFuture>
#include <QImage>
#include <QThreadPool>

namespace vellumix {

// Runs the ScrollStitcher of one scrolling capture off the caller's thread.
//
// Every operation runs on the processor's own worker thread, one at a time in
// the order called, and answers with a future; callers continue on their
// thread with .then(context, ...). Failures travel in the future as the
// original exception (DocumentError, or std::invalid_argument for a frame
// that cannot be read), so that a caller writes one .onFailed handler that
// sees the error's own message; a refused frame is not a failure but a
// result with `paused` set.
//
// A processor serves one capture; make a new one for the next. Destroying it
// waits for the operation in progress, if any; owners drop it between frames.
class Processor final {
public:
    Processor();
    ~Processor();
    Processor(const Processor&) = delete;
    Processor& operator=(const Processor&) = delete;

    // ScrollStitcher::accept on the worker.
    QFuture<ProcessingResult> accept(const QImage& frame);

    // ScrollStitcher::image on the worker, after every earlier call.
    QFuture<QImage> image();

private:
    template <typename Work> auto submit(Work work) -> QFuture<decltype(work())>;

    ScrollStitcher m_stitcher;
    QThreadPool m_worker;
};

} // namespace vellumix
