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
    return submit([this, frame] { return process(frame); });
}

QFuture<QImage> Processor::image(std::optional<int> maximumWidth) {
    return submit([this, maximumWidth] { return m_document.image(maximumWidth); });
}

QFuture<LongDocument> Processor::document() {
    return submit([this] { return m_document; });
}

ProcessingResult Processor::process(const QImage& frame) {
    const FrameSignature signature(frame);
    const MatchDecision decision = m_previous ? m_matcher.match(*m_previous, signature)
                                              : MatchDecision::append(frame.height());
    switch (decision.kind()) {
    case MatchDecision::Kind::append:
        return appendRows(frame, signature, decision.rows());
    case MatchDecision::Kind::reject:
        return {decision.message(), m_document.height(), std::nullopt, true};
    case MatchDecision::Kind::duplicate:
        break;
    }
    return {QStringLiteral("No changes · Keep scrolling down"), m_document.height(), std::nullopt,
            false};
}

// The preview is extended with the new rows instead of being assembled from
// every strip, so a frame costs the same at any document height.
ProcessingResult Processor::appendRows(const QImage& frame, const FrameSignature& signature,
                                       int64_t rows) {
    m_document.append(frame, rows);
    m_previous = signature;
    m_preview.append(frame, rows);
    return {QStringLiteral("Added %1 pixels · Scroll down by less than half a screen").arg(rows),
            m_document.height(), m_preview.image(), false};
}

} // namespace vellumix
