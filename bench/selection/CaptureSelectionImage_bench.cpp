#include "imaging/CaptureSelectionImage.h"

#include <benchmark/benchmark.h>

using namespace vellumix;

namespace {

// Eight overlapping 1280 x 800 point windows on a scale-2 display, the most
// the overlay collects at once: a 3960 x 3000 pixel picture.
QVector<CaptureSelectionImage::CompositionPart> eightWindows() {
    QVector<CaptureSelectionImage::CompositionPart> parts;
    for (int i = 0; i < 8; ++i) {
        QImage image(2560, 1600, QImage::Format_RGBA8888_Premultiplied);
        image.fill(QColor::fromHsv(i * 40, 200, 220));
        parts.append({image, QRectF(i * 100, i * 100, 1280, 800)});
    }
    return parts;
}

void composeEightWindowsAtScale2(benchmark::State& state) {
    const auto parts = eightWindows();
    for (auto _ : state) {
        benchmark::DoNotOptimize(CaptureSelectionImage::compose(parts, 2));
    }
}
BENCHMARK(composeEightWindowsAtScale2)->Unit(benchmark::kMillisecond)->UseRealTime();

// Drawing the windows at half their pixel size, as on a scale-1 display.
void composeEightWindowsScaledDown(benchmark::State& state) {
    const auto parts = eightWindows();
    for (auto _ : state) {
        benchmark::DoNotOptimize(CaptureSelectionImage::compose(parts, 1));
    }
}
BENCHMARK(composeEightWindowsScaledDown)->Unit(benchmark::kMillisecond)->UseRealTime();

// The overlay reads one pixel per pointer move of a full 5K display.
void hexOfOnePixel(benchmark::State& state) {
    QImage display(5120, 2880, QImage::Format_RGBA8888_Premultiplied);
    display.fill(QColor(10, 120, 230, 200));
    int x = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(CaptureSelectionImage::hex(display, x, 1000));
        x = (x + 7) % display.width();
    }
}
BENCHMARK(hexOfOnePixel);

} // namespace
