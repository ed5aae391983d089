#include "DocumentFrames.h"

#include "api/OutputFile.h"
#include "imaging/PngCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <benchmark/benchmark.h>

namespace vellumix::bench {
namespace {

// One accepted frame of a scrolling capture: the bottom 200 rows of a frame
// are encoded and stored. The document restarts before it reaches its limits.
void appendStrip(benchmark::State& state) {
    const QVector<QImage> frames = scrolledFrames(int(state.range(0)), 1000, 8, 200);
    LongDocument document;
    int next = 0;
    for (auto _ : state) {
        if (document.height() + 200 > LongDocument::maximumHeight ||
            (document.height() + 200) * document.width() > LongDocument::maximumPixels) {
            state.PauseTiming();
            document = LongDocument();
            state.ResumeTiming();
        }
        document.append(frames[next++ % frames.size()], 200);
    }
    state.counters["stripBytes"] =
        benchmark::Counter(double(document.compressedBytes()) * 200 / double(document.height()));
}
BENCHMARK(appendStrip)->Arg(1600)->Arg(3200)->Unit(benchmark::kMillisecond);

// Assembly of a 3,000 × 30,000 document: scaled to 600 pixels wide, the size
// of the live preview, and at full size, the image that is saved.
const LongDocument& tallDocument() {
    static const LongDocument document = documentOfStrips(3000, 150);
    return document;
}

void assemble(benchmark::State& state) {
    const LongDocument& document = tallDocument();
    const std::optional<int> maximumWidth =
        state.range(0) > 0 ? std::optional<int>(int(state.range(0))) : std::nullopt;
    for (auto _ : state) {
        benchmark::DoNotOptimize(document.image(maximumWidth).constBits());
    }
    state.counters["compressedMiB"] = double(document.compressedBytes()) / (1 << 20);
}
BENCHMARK(assemble)->ArgName("maximumWidth")->Arg(600)->Arg(0)->Unit(benchmark::kMillisecond);

// Assembly plus banded encoding and the file write of the same document.
void savePng(benchmark::State& state) {
    const QString path = QDir::temp().filePath("vellumix-bench-save.png");
    for (auto _ : state) {
        OutputFile::write(path, encodePng(tallDocument().image()), true);
    }
    state.counters["fileMiB"] = double(QFileInfo(path).size()) / (1 << 20);
    QFile::remove(path);
}
BENCHMARK(savePng)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vellumix::bench
