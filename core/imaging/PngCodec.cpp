#include "imaging/PngCodec.h"

#include "stitching/DocumentError.h"

#include <QColorSpace>
#include <QtEndian>

#include <libdeflate.h>
#include <png.h>

#include <cstring>
#include <memory>
#include <new>
#include <vector>

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN,
              "RGBA8888 pixels are read as 32-bit words with alpha in the top byte");

namespace vellumix {
namespace {

// Screen content (flat panels, repeated glyph rows) compresses nearly as well
// at a low level as at zlib's default, at a fraction of the time.
constexpr int deflateLevel = 2;
constexpr char signature[] = "\x89PNG\r\n\x1a\n";
constexpr uint8_t colourTypeRgb = 2;
constexpr uint8_t colourTypeRgba = 6;
constexpr uint8_t filterUp = 2;

[[noreturn]] void fail() {
    throw DocumentError(DocumentError::Kind::render);
}

bool isOpaque(const QImage& image) {
    if (!image.hasAlphaChannel()) {
        return true;
    }
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
        uint32_t all = 0xff000000u;
        for (int x = 0; x < image.width(); ++x) {
            all &= row[x];
        }
        if ((all & 0xff000000u) != 0xff000000u) {
            return false;
        }
    }
    return true;
}

// One source row as the PNG stores it: non-premultiplied RGBA, or RGB.
void unpackRow(const uint32_t* source, int width, bool opaque, uint8_t* out) {
    if (opaque) {
        for (int x = 0; x < width; ++x) {
            std::memcpy(out + 3 * x, source + x, 3);
        }
        return;
    }
    for (int x = 0; x < width; ++x) {
        const uint32_t pixel = qUnpremultiply(source[x]);
        std::memcpy(out + 4 * x, &pixel, 4);
    }
}

// The rows with the "up" filter, each prefixed by its filter type: the raw
// scanline data that the IDAT stream compresses.
std::vector<uint8_t> filteredScanlines(const QImage& image, bool opaque) {
    const size_t rowBytes = size_t(image.width()) * (opaque ? 3 : 4);
    std::vector<uint8_t> out((rowBytes + 1) * size_t(image.height()));
    std::vector<uint8_t> previous(rowBytes, 0);
    std::vector<uint8_t> current(rowBytes);
    uint8_t* target = out.data();
    for (int y = 0; y < image.height(); ++y) {
        unpackRow(reinterpret_cast<const uint32_t*>(image.constScanLine(y)), image.width(), opaque,
                  current.data());
        *target++ = filterUp;
        for (size_t i = 0; i < rowBytes; ++i) {
            target[i] = uint8_t(current[i] - previous[i]);
        }
        target += rowBytes;
        previous.swap(current);
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

void appendChunk(QByteArray& png, const char* type, const QByteArray& payload) {
    const qsizetype at = png.size();
    png.resize(at + 12 + payload.size());
    putChunkHeader(png.data() + at, uint32_t(payload.size()), type);
    std::memcpy(png.data() + at + 8, payload.constData(), payload.size());
    putChunkCrc(png.data() + at, uint32_t(payload.size()));
}

QByteArray header(const QImage& image, bool opaque) {
    QByteArray ihdr(13, '\0');
    qToBigEndian(uint32_t(image.width()), ihdr.data());
    qToBigEndian(uint32_t(image.height()), ihdr.data() + 4);
    ihdr[8] = 8;
    ihdr[9] = char(opaque ? colourTypeRgb : colourTypeRgba);
    QByteArray png(signature, 8);
    appendChunk(png, "IHDR", ihdr);
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

} // namespace

QByteArray encodePng(const QImage& image) {
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
        appendImageData(png, filteredScanlines(pixels, opaque));
        appendChunk(png, "IEND", {});
        png.squeeze();
        return png;
    } catch (const std::bad_alloc&) {
        fail();
    }
}

QImage decodePng(const QByteArray& data) {
    png_image info{};
    info.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&info, data.constData(), size_t(data.size()))) {
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
