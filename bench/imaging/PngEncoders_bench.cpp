#include "LibpngFastWriter.h"
#include "ScreenshotLike.h"

#include "imaging/PngCodec.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

#include <benchmark/benchmark.h>

#include <functional>

namespace vellumix::bench {
namespace {

using Encoder = std::function<QByteArray(const QImage&)>;

QByteArray encodeWithQt(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image)) {
        throw std::runtime_error("Qt's PNG writer failed");
    }
    return bytes;
}

const QImage& screenshot(int width, int height) {
    static const QImage full = makeScreenshotLike(3840, 2160, 11);
    static const QImage strip = makeScreenshotLike(3200, 1000, 12).copy(0, 700, 3200, 200);
    return width == full.width() && height == full.height() ? full : strip;
}

// One table drives every encoder benchmark: each encoder on a full 4K
// screenshot and on a 200-row strip as scrolling capture appends them.
struct EncoderRow {
    const char* name;
    Encoder encode;
};

const EncoderRow encoders[] = {
    {"QtImageWriter", encodeWithQt},
    {"LibpngSubLevel1", encodeWithFastLibpng},
    {"Vellumix",
     [](const QImage& image) {
         return encodePng(image);
     }},
};

void runEncoder(benchmark::State& state, const Encoder& encode) {
    const QImage& image = screenshot(int(state.range(0)), int(state.range(1)));
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QByteArray png = encode(image);
        bytes = png.size();
        benchmark::DoNotOptimize(png.constData());
    }
    state.counters["pngBytes"] = double(bytes);
    state.counters["ratio"] = double(bytes) / double(image.sizeInBytes());
    state.SetBytesProcessed(state.iterations() * image.sizeInBytes());
}

void decodeWithQt(benchmark::State& state) {
    const QByteArray png = encodePng(screenshot(3840, 2160));
    for (auto _ : state) {
        benchmark::DoNotOptimize(QImage::fromData(png, "PNG")
                                     .convertToFormat(QImage::Format_RGBA8888_Premultiplied)
                                     .constBits());
    }
}

void decodeWithVellumix(benchmark::State& state) {
    const QByteArray png = encodePng(screenshot(3840, 2160));
    for (auto _ : state) {
        benchmark::DoNotOptimize(decodePng(png).constBits());
    }
}

const bool registered = [] {
    for (const EncoderRow& row : encoders) {
        benchmark::RegisterBenchmark(
            (std::string("PngEncode/") + row.name).c_str(),
            [&row](benchmark::State& state) { runEncoder(state, row.encode); })
            ->Args({3840, 2160})
            ->Args({3200, 200})
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("PngDecode/QtImageReader", decodeWithQt)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("PngDecode/Vellumix", decodeWithVellumix)
        ->Unit(benchmark::kMillisecond);
    return true;
}();

} // namespace
} // namespace vellumix::bench
