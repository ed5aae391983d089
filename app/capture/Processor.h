#pragma once

#include "capture/ProcessingResult.h"
#include "stitching/FixedPartStitcher.h"
#include "stitching/FrameSignature.h"
#include "stitching/IncrementalPreview.h"
#include "stitching/LongDocument.h"
#include "stitching/MovingPartMatcher.h"
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
    // the rows it brings; the first frame is added whole. A frame the matcher
    // refuses is tried again without what stayed put on screen (a sticky
    // header or footer, a sidebar, a badge); once that worked, later frames
    // are matched that way first.
    QFuture<ProcessingResult> accept(const QImage& frame);

    // The stitched image so far, with the footer of the latest frame when
    // one stays put on screen, scaled to at most `maximumWidth` pixels wide
    // (full size when absent).
    QFuture<QImage> image(std::optional<int> maximumWidth = std::nullopt);

    // A copy of the document as it stands after every earlier call, finished
    // like image().
    QFuture<LongDocument> document();

private:
    ProcessingResult process(const QImage& frame);
    ProcessingResult appendRows(const QImage& frame, const FrameSignature& signature, int64_t rows);
    ProcessingResult matchAroundFixedParts(const QImage& frame, const FrameSignature& signature,
                                           const std::optional<MatchDecision>& plain);
    ProcessingResult appendMoved(const QImage& frame, const FrameSignature& signature,
                                 const MovingPartMatcher::Result& moved);
    ProcessingResult unchanged() const;
    ProcessingResult refused(const QString& message) const;

    template <typename Work> auto submit(Work work) -> QFuture<decltype(work())>;

    LongDocument m_document;
    std::optional<FrameSignature> m_previous;
    // The latest frame added, kept for its footer rows and side columns.
    QImage m_previousFrame;
    VerticalMatcher m_matcher;
    MovingPartMatcher m_movingMatcher;
    FixedPartStitcher m_fixedParts;
    IncrementalPreview m_preview{previewWidth};
    QThreadPool m_worker;
};

} // namespace vellumix
