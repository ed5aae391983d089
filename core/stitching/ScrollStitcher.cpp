#include "stitching/ScrollStitcher.h"

#include "stitching/FixedPartStrip.h"

namespace vellumix {

namespace {

// The document or the preview as the finished capture shows it: with the
// rows held back at the bottom of the latest frame added below.
template <typename Grows>
QImage withHeldRows(const Grows& grows, const QImage& frame, int64_t heldRows) {
    if (heldRows == 0) {
        return grows.image();
    }
    Grows whole = grows;
    whole.append(frame, heldRows);
    return whole.image();
}

} // namespace

ProcessingResult ScrollStitcher::accept(const QImage& frame) {
    const FrameSignature signature(frame);
    ProcessingResult result = decide(frame, signature);
    if (result.paused) {
        m_recent = signature;
        m_recentFrame = frame;
    } else if (result.preview) {
        m_recent.reset();
        m_recentFrame = QImage();
    }
    return result;
}

ProcessingResult ScrollStitcher::decide(const QImage& frame, const FrameSignature& signature) {
    if (m_previous && m_aroundFixedParts) {
        return matchAroundFixedParts(frame, signature, std::nullopt);
    }
    const MatchDecision decision = m_previous ? m_matcher.match(*m_previous, signature)
                                              : MatchDecision::append(frame.height());
    switch (decision.kind()) {
    case MatchDecision::Kind::append:
        return appendRows(frame, signature, decision.rows());
    case MatchDecision::Kind::reject:
        return matchAroundFixedParts(frame, signature, decision);
    case MatchDecision::Kind::duplicate:
        break;
    }
    return unchanged();
}

QImage ScrollStitcher::image() const {
    return withHeldRows(m_document, m_previousFrame, m_heldRows);
}

// After a refusal of the whole frames (`plain`) their refusal stands unless
// the part that moves is placed. Once a frame was added around fixed parts,
// the next is matched that way first, as the whole frames would only be
// refused after a full search; when nothing stays put any more, that is the
// whole frames' match and the frame is added as any other.
ProcessingResult ScrollStitcher::matchAroundFixedParts(const QImage& frame,
                                                       const FrameSignature& signature,
                                                       const std::optional<MatchDecision>& plain) {
    if (!plain && m_previous->difference(signature) < VerticalMatcher::duplicateThreshold) {
        return unchanged();
    }
    const MovingPartMatcher::Result moved =
        m_movingMatcher.match(*m_previous, signature, m_heldRows, m_recent ? &*m_recent : nullptr);
    switch (moved.decision.kind()) {
    case MatchDecision::Kind::append:
        if (!moved.parts.any() && m_heldRows == 0) {
            return appendRows(frame, signature, moved.decision.rows());
        }
        return appendMoved(frame, signature, moved);
    case MatchDecision::Kind::reject:
        return refused(plain ? plain->message() : moved.decision.message());
    case MatchDecision::Kind::duplicate:
        break;
    }
    return plain ? refused(plain->message()) : unchanged();
}

// Rows are only ever added plainly while none are held back.
ProcessingResult ScrollStitcher::appendRows(const QImage& frame, const FrameSignature& signature,
                                            int64_t rows) {
    grow(frame, rows, 0);
    m_aroundFixedParts = false;
    return added(frame, signature, rows);
}

ProcessingResult ScrollStitcher::appendMoved(const QImage& frame, const FrameSignature& signature,
                                             const MovingPartMatcher::Result& moved) {
    const int64_t rows = moved.decision.rows();
    // Side columns are found where the parts were: a sidebar that stuck
    // since the previous frame was not in its place there.
    const FixedPartStrip strip =
        FixedPartStrip::make(moved.sinceRecent ? m_recentFrame : m_previousFrame, frame, rows,
                             moved.parts, m_heldRows, signature.width());
    // The held rows count towards the limits now, so that the document can
    // always be finished.
    if (!LongDocument::fits(frame.width(),
                            m_document.height() - strip.cut + strip.rows + strip.held)) {
        throw DocumentError(DocumentError::Kind::limit);
    }
    grow(strip.image, strip.rows, strip.cut);
    m_heldRows = strip.held;
    m_aroundFixedParts = true;
    return added(frame, signature, rows);
}

// Both grow or neither, so that a failed preview leaves no rows it would miss
// for good: the rows go into a copy of the document (its strips are shared,
// not copied) that replaces it once the preview has them too. The preview is
// extended with the new rows instead of being assembled from every strip, so
// a frame costs the same at any document height; only rows taken back from
// the bottom make it start again.
void ScrollStitcher::grow(const QImage& strip, int64_t rows, int64_t cut) {
    LongDocument longer = m_document;
    if (cut > 0) {
        longer.removeBottomRows(cut);
    }
    longer.append(strip, rows);
    if (cut > 0) {
        IncrementalPreview rebuilt(previewWidth);
        longer.forEachStrip([&](const QImage& each) { rebuilt.append(each, each.height()); });
        m_preview = std::move(rebuilt);
    } else {
        m_preview.append(strip, rows);
    }
    m_document = std::move(longer);
}

ProcessingResult ScrollStitcher::added(const QImage& frame, const FrameSignature& signature,
                                       int64_t rows) {
    m_previous = signature;
    m_previousFrame = frame;
    return {QStringLiteral("Added %1 pixels · Scroll down by less than half a screen").arg(rows),
            height(), finishedPreview(), false};
}

QImage ScrollStitcher::finishedPreview() const {
    return withHeldRows(m_preview, m_previousFrame, m_heldRows);
}

ProcessingResult ScrollStitcher::unchanged() const {
    return {QStringLiteral("No changes · Keep scrolling down"), height(), std::nullopt, false};
}

ProcessingResult ScrollStitcher::refused(const QString& message) const {
    return {message, height(), std::nullopt, true};
}

} // namespace vellumix
