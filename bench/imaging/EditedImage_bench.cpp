#include "ScreenshotLike.h"

#include "imaging/EditedImage.h"

#include <benchmark/benchmark.h>

namespace vellumix::bench {
namespace {

const QImage& screenshot4k() {
    static const QImage image = makeScreenshotLike(3840, 2160, 31);
    return image;
}

void editedImagePng(benchmark::State& state) {
    qsizetype bytes = 0;
    for (auto _ : state) {
        bytes = EditedImage::png(screenshot4k()).size();
    }
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(editedImagePng)->Unit(benchmark::kMillisecond);

void editedImageJpeg(benchmark::State& state) {
    qsizetype bytes = 0;
    for (auto _ : state) {
        bytes = EditedImage::jpeg(screenshot4k(), 0.9).size();
    }
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(editedImageJpeg)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vellumix::bench
