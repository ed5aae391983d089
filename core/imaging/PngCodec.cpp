#include "imaging/PngCodec.h"

#include "imaging/PngFastReader.h"

#include "stitching/DocumentError.h"

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

// On screen content (flat panels, glyph rows, gradients) libdeflate's fastest
// level after the sub filter gives smaller files than Qt's writer (libpng at
// zlib level 6 with adaptive filters) at several times the speed; the higher
// levels gain a few percent of size for 40 % more time. See bench/imaging.
constexpr int deflateLevel = 1;
constexpr char signature[] = "\x89PNG\r\n\x1a\n";
constexpr uint8_t colourTypeRgb = 2;
constexpr uint8_t colourTypeRgba = 6;
constexpr uint8_t filterSub = 1;
constexpr size_t bandBytes = 1u << 20;

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

// The "sub" filter (each byte minus the same byte of the pixel to its left)
// fused with the conversion to the stored layout. On screen content it beat
// "up", "paeth" and libpng-style per-row selection in both size and time.
void subFilterRgb(const uint32_t* pixels, int width, uint8_t* out) {
    uint32_t left = 0;
    for (int x = 0; x < width; ++x) {
        const uint32_t pixel = pixels[x];
        out[3 * x] = uint8_t(pixel - left);
        out[3 * x + 1] = uint8_t((pixel >> 8) - (left >> 8));
        out[3 * x + 2] = uint8_t((pixel >> 16) - (left >> 16));
        left = pixel;
    }
}

// PNG alpha is straight, so translucent pixels are unpremultiplied first.
void subFilterStraightRgba(const uint32_t* pixels, int width, uint8_t* out) {
    uint32_t left = 0;
    for (int x = 0; x < width; ++x) {
        const uint32_t pixel = qUnpremultiply(pixels[x]);
        for (int shift = 0; shift < 32; shift += 8) {
            *out++ = uint8_t((pixel >> shift) - (left >> shift));
        }
        left = pixel;
    }
}

size_t filteredRowBytes(const QImage& image, bool opaque) {
    return size_t(image.width()) * (opaque ? 3 : 4) + 1;
}

// Row y as the IDAT stream holds it: the filter type, then the filtered bytes.
void filterRow(const QImage& image, int y, bool opaque, uint8_t* target) {
    const auto* pixels = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
    *target = filterSub;
    if (opaque) {
        subFilterRgb(pixels, image.width(), target + 1);
    } else {
        subFilterStraightRgba(pixels, image.width(), target + 1);
    }
}

std::vector<uint8_t> filteredScanlines(const QImage& image, bool opaque) {
    const size_t rowBytes = filteredRowBytes(image, opaque);
    std::vector<uint8_t> out(rowBytes * size_t(image.height()));
    for (int y = 0; y < image.height(); ++y) {
        filterRow(image, y, opaque, out.data() + size_t(y) * rowBytes);
    }
    return out;
}

struct CompressorDeleter {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

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

// Compresses straight into one IDAT chunk at the end of `png`. The output room
// starts at a quarter of the input, which screen content stays well under, and
// grows to libdeflate's bound only for content that does not compress.
void appendImageData(QByteArray& png, const std::vector<uint8_t>& scanlines) {
    std::unique_ptr<libdeflate_compressor, CompressorDeleter> compressor(
        libdeflate_alloc_compressor(deflateLevel));
    if (!compressor) {
        fail();
    }
    const qsizetype at = png.size();
    const size_t bound = libdeflate_zlib_compress_bound(compressor.get(), scanlines.size());
    size_t written = 0;
    for (size_t room : {scanlines.size() / 4 + 1024, bound}) {
        png.resize(at + 12 + qsizetype(room));
        written = libdeflate_zlib_compress(compressor.get(), scanlines.data(), scanlines.size(),
                                           png.data() + at + 8, room);
        if (written != 0) {
            break;
        }
    }
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
// deflate, writing one IDAT chunk per filled output buffer.
void appendImageDataInBands(QByteArray& png, const QImage& image, bool opaque) {
    const size_t rowBytes = filteredRowBytes(image, opaque);
    const int bandRows = int(std::clamp<size_t>(bandBytes / rowBytes, 1, size_t(image.height())));
    std::vector<uint8_t> band(rowBytes * size_t(bandRows));
    std::vector<char> output(bandBytes);
    z_stream stream{};
    if (deflateInit(&stream, deflateLevel) != Z_OK) {
        fail();
    }
    const std::unique_ptr<z_stream, DeflateEnd> end(&stream);
    for (int top = 0; top < image.height(); top += bandRows) {
        const int rows = std::min(bandRows, image.height() - top);
        for (int row = 0; row < rows; ++row) {
            filterRow(image, top + row, opaque, band.data() + size_t(row) * rowBytes);
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
        const bool opaque = isOpaque(pixels);
        QByteArray png = header(pixels, opaque);
        if (filteredRowBytes(pixels, opaque) * size_t(pixels.height()) <= singlePassLimit) {
            appendImageData(png, filteredScanlines(pixels, opaque));
        } else {
            appendImageDataInBands(png, pixels, opaque);
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
