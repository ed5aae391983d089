#pragma once

#include "capture/ProcessingResult.h"
#include "stitching/FrameSignature.h"
#include "stitching/IncrementalPreview.h"
#include "stitching/LongDocument.h"
#include "stitching/VerticalMatcher.h"

#include <QFuture>
#include <QImage>
#include <QThreadPool>

#include <optional>

namespace vellumix {

// Stitches the frames of one scrolling capture into a LongDocument.
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
    static constexpr int previewWidth = 600;

    Processor();
    ~Processor();
    Processor(const Processor&) = delete;
    Processor& operator=(const Processor&) = delete;

    // Matches `frame` against the last frame whose rows were added and adds
    // the rows it brings; the first frame is added whole.
    QFuture<ProcessingResult> accept(const QImage& frame);

    // The stitched image so far, scaled to at most `maximumWidth` pixels wide
    // (full size when absent).
    QFuture<QImage> image(std::optional<int> maximumWidth = std::nullopt);

    // A copy of the document as it stands after every earlier call.
    QFuture<LongDocument> document();

private:
    ProcessingResult process(const QImage& frame);
    ProcessingResult appendRows(const QImage& frame, const FrameSignature& signature, int64_t rows);

    template <typename Work> auto submit(Work work) -> QFuture<decltype(work())>;

    LongDocument m_document;
    std::optional<FrameSignature> m_previous;
    VerticalMatcher m_matcher;
    IncrementalPreview m_preview{previewWidth};
    QThreadPool m_worker;
};

} // namespace vellumix
