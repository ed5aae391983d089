#pragma once

#include "stitching/FrameSignature.h"
#include "stitching/IncrementalPreview.h"
#include "stitching/LongDocument.h"
#include "stitching/MovingPartMatcher.h"
#include "stitching/ProcessingResult.h"
#include "stitching/VerticalMatcher.h"

#include <QImage>

#include <cstdint>
#include <optional>

namespace vellumix {

// Stitches the frames of one scrolling capture into a LongDocument and
// answers each frame with what the user is shown. Synchronous; one stitcher
// serves one capture.
class ScrollStitcher final {
public:
    static constexpr int previewWidth = 600;

    // Matches `frame` against the last frame whose rows were added and adds
    // the rows it brings; the first frame is added whole. A frame the matcher
    // refuses is tried again without what stayed put on screen (a sticky
    // header or footer, a sidebar, a badge); once that worked, later frames
    // are matched that way first. A refused frame is an answer with `paused`
    // set; errors are thrown (DocumentError, or std::invalid_argument for a
    // frame that cannot be read) and leave the stitcher as it was.
    ProcessingResult accept(const QImage& frame);

    // The stitched image so far at full size, with the footer of the latest
    // frame when one stays put on screen. Throws DocumentError.
    QImage image() const;

private:
    ProcessingResult decide(const QImage& frame, const FrameSignature& signature);
    ProcessingResult matchAroundFixedParts(const QImage& frame, const FrameSignature& signature,
                                           const std::optional<MatchDecision>& plain);
    ProcessingResult appendRows(const QImage& frame, const FrameSignature& signature, int64_t rows);
    ProcessingResult appendMoved(const QImage& frame, const FrameSignature& signature,
                                 const MovingPartMatcher::Result& moved);
    void grow(const QImage& strip, int64_t rows, int64_t cut);
    ProcessingResult added(const QImage& frame, const FrameSignature& signature, int64_t rows);
    // The preview with the held rows of the latest frame below it.
    QImage finishedPreview() const;
    ProcessingResult unchanged() const;
    ProcessingResult refused(const QString& message) const;
    int64_t height() const { return m_document.height() + m_heldRows; }

    LongDocument m_document;
    IncrementalPreview m_preview{previewWidth};
    std::optional<FrameSignature> m_previous;
    // The latest frame added, kept for its footer rows and side columns.
    QImage m_previousFrame;
    // Rows at the bottom of the latest frame that are not in the document:
    // a footer that stays put, added only when the document is read.
    int64_t m_heldRows = 0;
    // Whether the latest frame was added around parts that stayed put.
    bool m_aroundFixedParts = false;
    // The latest frame when it was refused: a part that only became fixed
    // since the latest frame added is fixed between it and the next frame.
    std::optional<FrameSignature> m_recent;
    QImage m_recentFrame;
    VerticalMatcher m_matcher;
    MovingPartMatcher m_movingMatcher;
};

} // namespace vellumix
