#include "stitching/FixedPartDetector.h"
#include "stitching/FrameSignature.h"
#include "stitching/IncrementalPreview.h"
#include "stitching/MovingPartMatcher.h"
#include "stitching/ScrollStitcher.h"
#include "stitching/VerticalMatcher.h"
#include "support/ScrollPage.h"

#include <QPainter>

#include <benchmark/benchmark.h>

namespace vellumix {
namespace {

// A region of 1,600 x 1,000 points at scale 2.
constexpr int kWidth = 3200;
constexpr int kFrameHeight = 2000;
// The page repeats every kPeriod rows. The period is far longer than the
// largest offset searched (1,500 rows), so no frame can be matched a period
// away, and a 3,200-pixel-wide page 30,000 rows tall need not exist at once.
constexpr int kPeriod = 4000;
// Set-up frames scroll by this much so that tall documents are reached in a
// few frames; it is below the largest offset searched.
constexpr int kSetUpStep = 1400;
// Measured frames scroll by a twentieth of a screen, as a slow scroll does.
constexpr int kStep = 100;
// 90 megapixels allow 28,125 rows at this width; the tallest case leaves room
// for the measured frames.
constexpr int kTallest = 27500;

const testing::ScrollPage& page() {
    static const testing::ScrollPage instance({kWidth, kPeriod, 17});
    return instance;
}

// The region when the page is scrolled to `top`.
QImage frameAt(int top) {
    QImage frame(kWidth, kFrameHeight, QImage::Format_RGB32);
    const int start = top % kPeriod;
    const int firstRows = std::min(kFrameHeight, kPeriod - start);
    QPainter painter(&frame);
    painter.drawImage(0, 0, page().image(), 0, start, kWidth, firstRows);
    painter.drawImage(0, firstRows, page().image(), 0, 0, kWidth, kFrameHeight - firstRows);
    return frame;
}

// The timed part of the accept benchmarks: one frame scrolled by kStep each
// iteration, made outside the timing; a frame that is not appended ends the
// run with an error.
void timeScrolledFrames(benchmark::State& state, ScrollStitcher& stitcher, int& top,
                        QImage (*frameAt)(int)) {
    int64_t rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        top += kStep;
        const QImage frame = frameAt(top);
        state.ResumeTiming();
        const ProcessingResult result = stitcher.accept(frame);
        benchmark::DoNotOptimize(result.preview);
        if (result.paused || !result.preview) {
            state.SkipWithError("frame not appended");
            break;
        }
        rows = result.height;
    }
    state.counters["rows"] = double(rows);
}

// accept() for a frame scrolled by kStep, with the document already `height`
// rows tall (the first frame alone is 2,000 rows, the least there can be).
void BM_AcceptAtHeight(benchmark::State& state) {
    const int64_t height = state.range(0);
    ScrollStitcher stitcher;
    int top = 0;
    stitcher.accept(frameAt(top));
    while (top + kFrameHeight + kSetUpStep <= height) {
        top += kSetUpStep;
        stitcher.accept(frameAt(top));
    }
    top += int(height - (top + kFrameHeight));
    if (height > kFrameHeight) {
        stitcher.accept(frameAt(top));
    }
    timeScrolledFrames(state, stitcher, top, frameAt);
}
BENCHMARK(BM_AcceptAtHeight)
    ->Arg(2000)
    ->Arg(10000)
    ->Arg(kTallest)
    ->Iterations(6)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The region over a page with a sticky header and a cookie bar, as tall as
// they are at scale 2.
QImage stickyFrameAt(int top) {
    QImage frame = frameAt(top);
    QPainter painter(&frame);
    painter.fillRect(0, 0, kWidth, 120, QColor(40, 44, 52));
    for (int x = 200; x + 120 < kWidth; x += 180) {
        painter.fillRect(x, 50, 120, 20, QColor(200, 204, 210));
    }
    painter.fillRect(0, kFrameHeight - 100, kWidth, 100, QColor(250, 236, 200));
    painter.fillRect(40, kFrameHeight - 70, kWidth / 2, 12, QColor(80, 70, 60));
    return frame;
}

// accept() for frames scrolled by kStep under a sticky header and footer,
// with the document about 10,000 rows tall: the peer of
// BM_AcceptAtHeight/10000.
void BM_AcceptWithFixedParts(benchmark::State& state) {
    ScrollStitcher stitcher;
    int top = 0;
    stitcher.accept(stickyFrameAt(top));
    while (top + kFrameHeight < 10000 - kSetUpStep) {
        top += kSetUpStep / 2;
        stitcher.accept(stickyFrameAt(top));
    }
    timeScrolledFrames(state, stitcher, top, stickyFrameAt);
}
BENCHMARK(BM_AcceptWithFixedParts)
    ->Iterations(6)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// Finding the header and footer of two frames, the step a frame adds to the
// match of its moving part.
void BM_DetectFixedParts(benchmark::State& state) {
    const FrameSignature previous(stickyFrameAt(0));
    const FrameSignature next(stickyFrameAt(kStep));
    for (auto _ : state) {
        const FixedParts parts = FixedPartDetector::detect(previous, next);
        if (parts.top == 0 || parts.bottom == 0) {
            state.SkipWithError("fixed parts not found");
            break;
        }
    }
}
BENCHMARK(BM_DetectFixedParts)->Unit(benchmark::kMillisecond);

// The match of a frame under the header and footer, with the footer of the
// frame before held back: the detection and the match of the moving part.
// The peer of BM_Match, which matches whole frames of the page without them.
void BM_MatchMovingPart(benchmark::State& state) {
    const FrameSignature previous(stickyFrameAt(0));
    const FrameSignature next(stickyFrameAt(kStep));
    for (auto _ : state) {
        const MovingPartMatcher::Result result = MovingPartMatcher().match(previous, next, 100);
        if (result.decision != MatchDecision::append(kStep)) {
            state.SkipWithError("wrong decision");
            break;
        }
    }
}
BENCHMARK(BM_MatchMovingPart)->Unit(benchmark::kMillisecond);

void BM_Signature(benchmark::State& state) {
    const QImage frame = frameAt(0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(FrameSignature(frame));
    }
}
BENCHMARK(BM_Signature)->Unit(benchmark::kMillisecond);

void BM_Match(benchmark::State& state) {
    const FrameSignature previous(frameAt(0));
    const FrameSignature next(frameAt(kStep));
    for (auto _ : state) {
        const MatchDecision decision = VerticalMatcher().match(previous, next);
        if (decision != MatchDecision::append(kStep)) {
            state.SkipWithError("wrong decision");
            break;
        }
    }
}
BENCHMARK(BM_Match)->Unit(benchmark::kMillisecond);

// Extending the kept preview by one frame's new rows.
void BM_PreviewStep(benchmark::State& state) {
    IncrementalPreview preview(ScrollStitcher::previewWidth);
    preview.append(frameAt(0), kFrameHeight);
    const QImage frame = frameAt(kStep);
    for (auto _ : state) {
        preview.append(frame, kStep);
        benchmark::DoNotOptimize(preview.image());
    }
}
BENCHMARK(BM_PreviewStep)->Iterations(20)->Unit(benchmark::kMillisecond);

// What each frame would cost if the preview were assembled again from every
// strip of a document of the tallest height.
void BM_FullPreviewAtTallest(benchmark::State& state) {
    LongDocument document;
    document.append(frameAt(0));
    for (int top = kSetUpStep; document.height() + kSetUpStep <= kTallest; top += kSetUpStep) {
        document.append(frameAt(top), kSetUpStep);
    }
    document.append(frameAt(0), kTallest - document.height());
    for (auto _ : state) {
        benchmark::DoNotOptimize(document.image(ScrollStitcher::previewWidth));
    }
}
BENCHMARK(BM_FullPreviewAtTallest)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vellumix
