#include "imaging/PngCodec.h"

#include "imaging/LargeBuffer.h"
#include "imaging/PngFastReader.h"
#include "imaging/PngRowFilters.h"

#include "imaging/DocumentError.h"

#include <QColorSpace>
#include <QtEndian>

#include <libdeflate.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN,
              "RGBA8888 pixels are read as 32-bit words with alpha in the top byte");

namespace vellumix {
namespace {

constexpr char signature[] = "\x89PNG\r\n\x1a\n";
constexpr uint8_t colourTypeRgb = 2;
constexpr uint8_t colourTypeRgba = 6;
constexpr size_t bandBytes = 1u << 20;

// How the rows are stored, measured over screens of a document page, code,
// a dark theme, a photograph and a mixture (bench/imaging/encoder-corpus.sh).
// Some screens compress best unfiltered (code, dark themes: repeated glyphs
// stay byte for byte the same for deflate to match), others after the sub
// filter (light pages, photographs, gradients). A few bands of rows,
// compressed both ways, decide for the whole image. Content that compresses
// well takes libdeflate's level 2, a few percent smaller than level 1 and
// faster on such content; content that does not (photographs) stays at
// level 1, where level 2 gains 4 % for two and a half times the time.
constexpr int trialBands = 8;
constexpr int trialBandRows = 8;
constexpr int rowsPerTrialBand = 256;
constexpr double wellCompressedRatio = 0.1;
constexpr int fastLevel = 1;
constexpr int textLevel = 2;

[[noreturn]] void fail() {
    throw DocumentError(DocumentError::Kind::render);
}

bool isOpaque(const QImage& image) {
    if (!image.hasAlphaChannel()) {
        return true;
    }
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
        uint32_t all = 0xff000000u;
        for (int x = 0; x < width; ++x) {
            all &= row[x];
        }
        if ((all & 0xff000000u) != 0xff000000u) {
            return false;
        }
    }
    return true;
}

struct RowCoding {
    bool opaque = true;
    PngFilter filter = PngFilter::sub;
    int level = fastLevel;
};

// Stores a row as RGB, either unfiltered or with the "sub" filter (each byte
// minus the same byte of the pixel to its left), fused with the conversion.
template <bool sub> void writeRgb(const uint32_t* pixels, int width, uint8_t* out) {
    uint32_t left = 0;
    for (int x = 0; x < width; ++x) {
        const uint32_t pixel = pixels[x];
        out[3 * x] = uint8_t(pixel - left);
        out[3 * x + 1] = uint8_t((pixel >> 8) - (left >> 8));
        out[3 * x + 2] = uint8_t((pixel >> 16) - (left >> 16));
        if constexpr (sub) {
            left = pixel;
        }
    }
}

// PNG alpha is straight, so translucent pixels are unpremultiplied first.
template <bool sub> void writeStraightRgba(const uint32_t* pixels, int width, uint8_t* out) {
    uint32_t left = 0;
    for (int x = 0; x < width; ++x) {
        const uint32_t pixel = qUnpremultiply(pixels[x]);
        for (int shift = 0; shift < 32; shift += 8) {
            *out++ = uint8_t((pixel >> shift) - (left >> shift));
        }
        if constexpr (sub) {
            left = pixel;
        }
    }
}

using RowWriter = void (*)(const uint32_t*, int, uint8_t*);

// By opacity, then by whether the sub filter applies.
constexpr RowWriter rowWriters[2][2] = {{writeStraightRgba<false>, writeStraightRgba<true>},
                                        {writeRgb<false>, writeRgb<true>}};

size_t filteredRowBytes(const QImage& image, bool opaque) {
    return size_t(image.width()) * (opaque ? 3 : 4) + 1;
}

// Row y as the IDAT stream holds it: the filter type, then the filtered bytes.
void filterRow(const QImage& image, int y, const RowCoding& coding, uint8_t* target) {
    const auto* pixels = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
    *target = uint8_t(coding.filter);
    rowWriters[coding.opaque][coding.filter == PngFilter::sub](pixels, image.width(), target + 1);
}

struct CompressorDeleter {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

using Compressor = std::unique_ptr<libdeflate_compressor, CompressorDeleter>;

Compressor compressorAt(int level) {
    Compressor compressor(libdeflate_alloc_compressor(level));
    if (!compressor) {
        fail();
    }
    return compressor;
}

// Compresses evenly spread bands of rows unfiltered and with the sub filter,
// at the fast level, and picks the filter and level as described at the top.
RowCoding chooseCoding(const QImage& image, bool opaque) {
    const Compressor trial = compressorAt(fastLevel);
    const int bands = std::clamp(image.height() / rowsPerTrialBand, 1, trialBands);
    const int rows = std::min(trialBandRows, image.height());
    const size_t rowBytes = filteredRowBytes(image, opaque);
    std::vector<uint8_t> band(rowBytes * size_t(rows));
    std::vector<uint8_t> out(libdeflate_zlib_compress_bound(trial.get(), band.size()));
    size_t sizes[2] = {};
    for (int b = 0; b < bands; ++b) {
        const int top = (image.height() - rows) * b / std::max(bands - 1, 1);
        for (const PngFilter filter : {PngFilter::none, PngFilter::sub}) {
            for (int row = 0; row < rows; ++row) {
                filterRow(image, top + row, {opaque, filter, fastLevel},
                          band.data() + size_t(row) * rowBytes);
            }
            sizes[filter == PngFilter::sub] += libdeflate_zlib_compress(
                trial.get(), band.data(), band.size(), out.data(), out.size());
        }
    }
    const bool sub = sizes[1] < sizes[0];
    const double ratio = double(sizes[sub]) / double(band.size() * size_t(bands));
    return {opaque, sub ? PngFilter::sub : PngFilter::none,
            ratio < wellCompressedRatio ? textLevel : fastLevel};
}

struct ReleaseDeleter {
    void operator()(uint8_t* memory) const { releaseLargeBuffer(memory); }
};

using Scanlines = std::unique_ptr<uint8_t[], ReleaseDeleter>;

Scanlines filteredScanlines(const QImage& image, const RowCoding& coding) {
    const size_t rowBytes = filteredRowBytes(image, coding.opaque);
    Scanlines out(allocateLargeBuffer(rowBytes * size_t(image.height())));
    if (!out) {
        fail();
    }
    for (int y = 0; y < image.height(); ++y) {
        filterRow(image, y, coding, out.get() + size_t(y) * rowBytes);
    }
    return out;
}

void putChunkHeader(char* at, uint32_t length, const char* type) {
    qToBigEndian(length, at);
    std::memcpy(at + 4, type, 4);
}

void putChunkCrc(char* chunk, uint32_t length) {
    const uint32_t crc = libdeflate_crc32(0, chunk + 4, length + 4);
    qToBigEndian(crc, chunk + 8 + length);
}

void appendChunk(QByteArray& png, const char* type, const char* data, size_t length) {
    const qsizetype at = png.size();
    png.resize(at + 12 + qsizetype(length));
    putChunkHeader(png.data() + at, uint32_t(length), type);
    if (length > 0) {
        std::memcpy(png.data() + at + 8, data, length);
    }
    putChunkCrc(png.data() + at, uint32_t(length));
}

QByteArray header(const QImage& image, bool opaque) {
    QByteArray ihdr(13, '\0');
    qToBigEndian(uint32_t(image.width()), ihdr.data());
    qToBigEndian(uint32_t(image.height()), ihdr.data() + 4);
    ihdr[8] = 8;
    ihdr[9] = char(opaque ? colourTypeRgb : colourTypeRgba);
    QByteArray png(signature, 8);
    appendChunk(png, "IHDR", ihdr.constData(), size_t(ihdr.size()));
    return png;
}

// Compresses straight into one IDAT chunk at the end of `png`, with room for
// libdeflate's bound: the pages past what is written are never touched, so
// they take no memory, and content that does not compress (photographs) is
// not compressed twice.
void appendImageData(QByteArray& png, const QImage& image, const RowCoding& coding) {
    const Scanlines scanlines = filteredScanlines(image, coding);
    const size_t size = filteredRowBytes(image, coding.opaque) * size_t(image.height());
    const Compressor compressor = compressorAt(coding.level);
    const qsizetype at = png.size();
    const size_t room = libdeflate_zlib_compress_bound(compressor.get(), size);
    png.resize(at + 12 + qsizetype(room));
    const size_t written = libdeflate_zlib_compress(compressor.get(), scanlines.get(), size,
                                                    png.data() + at + 8, room);
    if (written == 0 || written > 0x7fffffffu) {
        fail();
    }
    putChunkHeader(png.data() + at, uint32_t(written), "IDAT");
    putChunkCrc(png.data() + at, uint32_t(written));
    png.resize(at + 12 + qsizetype(written));
}

struct DeflateEnd {
    void operator()(z_stream* stream) const { deflateEnd(stream); }
};

// Filters and compresses a band of rows at a time with zlib's streaming
// deflate at its fastest level, writing one IDAT chunk per filled output
// buffer.
void appendImageDataInBands(QByteArray& png, const QImage& image, const RowCoding& coding) {
    const size_t rowBytes = filteredRowBytes(image, coding.opaque);
    const int bandRows = int(std::clamp<size_t>(bandBytes / rowBytes, 1, size_t(image.height())));
    std::vector<uint8_t> band(rowBytes * size_t(bandRows));
    std::vector<char> output(bandBytes);
    z_stream stream{};
    if (deflateInit(&stream, Z_BEST_SPEED) != Z_OK) {
        fail();
    }
    const std::unique_ptr<z_stream, DeflateEnd> end(&stream);
    for (int top = 0; top < image.height(); top += bandRows) {
        const int rows = std::min(bandRows, image.height() - top);
        for (int row = 0; row < rows; ++row) {
            filterRow(image, top + row, coding, band.data() + size_t(row) * rowBytes);
        }
        const int flush = top + rows == image.height() ? Z_FINISH : Z_NO_FLUSH;
        stream.next_in = band.data();
        stream.avail_in = uInt(size_t(rows) * rowBytes);
        do {
            stream.next_out = reinterpret_cast<Bytef*>(output.data());
            stream.avail_out = uInt(output.size());
            if (deflate(&stream, flush) == Z_STREAM_ERROR) {
                fail();
            }
            const size_t produced = output.size() - stream.avail_out;
            if (produced > 0) {
                appendChunk(png, "IDAT", output.data(), produced);
            }
        } while (stream.avail_out == 0);
    }
}

} // namespace

QByteArray encodePng(const QImage& image) {
    return encodePng(image, pngSinglePassLimit);
}

QByteArray encodePng(const QImage& image, size_t singlePassLimit) {
    if (image.isNull()) {
        fail();
    }
    try {
        const QImage pixels = image.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
        if (pixels.isNull()) {
            fail();
        }
        const RowCoding coding = chooseCoding(pixels, isOpaque(pixels));
        QByteArray png = header(pixels, coding.opaque);
        if (filteredRowBytes(pixels, coding.opaque) * size_t(pixels.height()) <= singlePassLimit) {
            appendImageData(png, pixels, coding);
        } else {
            appendImageDataInBands(png, pixels, coding);
        }
        appendChunk(png, "IEND", nullptr, 0);
        png.squeeze();
        return png;
    } catch (const std::bad_alloc&) {
        fail();
    }
}

QImage decodePng(const QByteArray& data) {
    if (std::optional<QImage> image = readPngFast(data)) {
        return *std::move(image);
    }
    png_image info{};
    info.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&info, data.constData(), size_t(data.size()))) {
        fail();
    }
    if (uint64_t(info.width) * info.height > pngMaximumDecodedPixels) {
        png_image_free(&info);
        fail();
    }
    info.format = PNG_FORMAT_RGBA;
    QImage image(int(info.width), int(info.height), QImage::Format_RGBA8888);
    if (image.isNull() || !png_image_finish_read(&info, nullptr, image.bits(),
                                                 png_int_32(image.bytesPerLine()), nullptr)) {
        png_image_free(&info);
        fail();
    }
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            row[x] = qPremultiply(row[x]);
        }
    }
    image.reinterpretAsFormat(QImage::Format_RGBA8888_Premultiplied);
    image.setColorSpace(QColorSpace::SRgb);
    return image;
}

} // namespace vellumix
