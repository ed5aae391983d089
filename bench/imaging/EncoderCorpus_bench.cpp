// Our PNG encoder against fixed encoder settings on the screenshot corpus:
// each row filter (none, sub, up, or per-row choice by smallest sum of
// absolute values, as libpng does) with each libdeflate level, and zlib's
// level 1. Reports compressed bytes and CPU time per image.
// encoder-corpus.sh runs it next to `vips copy` on the same images.

#include "ScreenshotCorpus.h"

#include "imaging/PngCodec.h"

#include <libdeflate.h>
#include <zlib.h>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace vellumix::bench {
namespace {

const QImage& corpusImage(size_t index) {
    static std::map<size_t, QImage> made;
    auto found = made.find(index);
    if (found == made.end()) {
        found = made.emplace(index, corpusImages[index].make()).first;
    }
    return found->second;
}

enum class Filter { none, sub, up, smallestSum };

// One row as RGB bytes, filtered, after its filter type byte.
void filterRow(Filter filter, const uint8_t* row, const uint8_t* above, size_t length,
               uint8_t* out) {
    const auto apply = [&](int type, uint8_t* target) {
        target[0] = uint8_t(type);
        for (size_t i = 0; i < length; ++i) {
            const int left = i >= 3 ? row[i - 3] : 0;
            target[i + 1] = uint8_t(row[i] - (type == 0 ? 0 : type == 1 ? left : above[i]));
        }
    };
    if (filter != Filter::smallestSum) {
        apply(int(filter), out);
        return;
    }
    std::vector<uint8_t> trial(length + 1);
    size_t best = SIZE_MAX;
    for (int type = 0; type < 3; ++type) {
        apply(type, trial.data());
        size_t sum = 0;
        for (size_t i = 1; i <= length; ++i) {
            sum += trial[i] < 128 ? trial[i] : 256 - trial[i];
        }
        if (sum < best) {
            best = sum;
            std::memcpy(out, trial.data(), length + 1);
        }
    }
}

std::vector<uint8_t> filtered(const QImage& image, Filter filter) {
    const size_t length = size_t(image.width()) * 3;
    std::vector<uint8_t> rgb(length), above(length, 0), out((length + 1) * size_t(image.height()));
    for (int y = 0; y < image.height(); ++y) {
        const auto* pixels = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            std::memcpy(&rgb[3 * size_t(x)], &pixels[x], 3);
        }
        filterRow(filter, rgb.data(), above.data(), length, out.data() + size_t(y) * (length + 1));
        std::swap(rgb, above);
    }
    return out;
}

// Level 0 stands for zlib's level 1.
size_t compressed(const std::vector<uint8_t>& rows, int level) {
    if (level == 0) {
        uLongf size = compressBound(uLong(rows.size()));
        std::vector<Bytef> out(size);
        compress2(out.data(), &size, rows.data(), uLong(rows.size()), 1);
        return size;
    }
    libdeflate_compressor* compressor = libdeflate_alloc_compressor(level);
    std::vector<uint8_t> out(libdeflate_zlib_compress_bound(compressor, rows.size()));
    const size_t size =
        libdeflate_zlib_compress(compressor, rows.data(), rows.size(), out.data(), out.size());
    libdeflate_free_compressor(compressor);
    return size;
}

void fixedSetting(benchmark::State& state, size_t image, Filter filter, int level) {
    size_t bytes = 0;
    for (auto _ : state) {
        bytes = compressed(filtered(corpusImage(image), filter), level);
    }
    state.counters["pngBytes"] = double(bytes);
}

void ourEncoder(benchmark::State& state, size_t image) {
    qsizetype bytes = 0;
    for (auto _ : state) {
        bytes = encodePng(corpusImage(image)).size();
    }
    state.counters["pngBytes"] = double(bytes);
}

const bool registered = [] {
    const char* filterNames[] = {"none", "sub", "up", "smallestSum"};
    for (size_t image = 0; image < std::size(corpusImages); ++image) {
        const std::string prefix = std::string("EncoderCorpus/") + corpusImages[image].name + "/";
        benchmark::RegisterBenchmark((prefix + "Vellumix").c_str(), ourEncoder, image)
            ->Unit(benchmark::kMillisecond);
        for (int filter = 0; filter < 4; ++filter) {
            for (const int level : {1, 2, 3, 6, 0}) {
                const std::string setting =
                    std::string(filterNames[filter]) +
                    (level == 0 ? "/zlib1" : "/deflate" + std::to_string(level));
                benchmark::RegisterBenchmark((prefix + setting).c_str(), fixedSetting, image,
                                             Filter(filter), level)
                    ->Unit(benchmark::kMillisecond);
            }
        }
    }
    return true;
}();

} // namespace
} // namespace vellumix::bench
