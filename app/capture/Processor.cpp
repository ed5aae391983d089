#include "capture/Processor.h"

#include <QPromise>

#include <exception>
#include <memory>

namespace vellumix {

namespace {

QString addedMessage(int64_t rows) {
    return QStringLiteral("Added %1 pixels · Scroll down by less than half a screen").arg(rows);
}

} // namespace

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
    return submit([this, frame] { return process(frame); });
}

QFuture<QImage> Processor::image(std::optional<int> maximumWidth) {
    return submit([this, maximumWidth] {
        return m_fixedParts.finished(m_document, m_previousFrame).image(maximumWidth);
    });
}

QFuture<LongDocument> Processor::document() {
    return submit([this] { return m_fixedParts.finished(m_document, m_previousFrame); });
}

ProcessingResult Processor::process(const QImage& frame) {
    const FrameSignature signature(frame);
    if (m_previous && m_fixedParts.active()) {
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

// After a refusal of the whole frames (`plain`) their refusal stands unless
// the part that moves is placed. Once a frame was added around fixed parts,
// the next is matched that way first, as the whole frames would only be
// refused after a full search; when nothing stays put any more, that is the
// whole frames' match and the frame is added as any other.
ProcessingResult Processor::matchAroundFixedParts(const QImage& frame,
                                                  const FrameSignature& signature,
                                                  const std::optional<MatchDecision>& plain) {
    if (!plain && m_previous->difference(signature) < VerticalMatcher::duplicateThreshold) {
        return unchanged();
    }
    const int64_t held = m_fixedParts.heldRows();
    const MovingPartMatcher::Result moved = m_movingMatcher.match(*m_previous, signature, held);
    switch (moved.decision.kind()) {
    case MatchDecision::Kind::append:
        if (!moved.parts.any() && held == 0) {
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

// The preview is extended with the new rows instead of being assembled from
// every strip, so a frame costs the same at any document height.
ProcessingResult Processor::appendRows(const QImage& frame, const FrameSignature& signature,
                                       int64_t rows) {
    // Both grow or neither, so that a failed preview leaves no rows it
    // would miss for good: the document grows as a copy (its strips are
    // shared, not copied) that replaces it once the preview has the rows.
    LongDocument longer = m_document;
    longer.append(frame, rows);
    m_preview.append(frame, rows);
    m_document = std::move(longer);
    m_previous = signature;
    m_previousFrame = frame;
    m_fixedParts.appendedPlainly();
    return {addedMessage(rows), m_document.height(), m_preview.image(), false};
}

ProcessingResult Processor::appendMoved(const QImage& frame, const FrameSignature& signature,
                                        const MovingPartMatcher::Result& moved) {
    const int64_t rows = moved.decision.rows();
    m_fixedParts.append(m_document, m_preview, m_previousFrame, frame, rows, moved.parts,
                        signature.width());
    m_previous = signature;
    m_previousFrame = frame;
    return {addedMessage(rows), m_document.height() + m_fixedParts.heldRows(),
            m_fixedParts.finishedPreview(m_preview, frame), false};
}

ProcessingResult Processor::unchanged() const {
    return {QStringLiteral("No changes · Keep scrolling down"),
            m_document.height() + m_fixedParts.heldRows(), std::nullopt, false};
}

ProcessingResult Processor::refused(const QString& message) const {
    return {message, m_document.height() + m_fixedParts.heldRows(), std::nullopt, true};
}

} // namespace vellumix
