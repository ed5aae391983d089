#include "imaging/PngFastReader.h"

#include "imaging/PngCodec.h"

#include "stitching/DocumentError.h"

#include <QColorSpace>
#include <QtEndian>

#include <libdeflate.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace vellumix {
namespace {

// Above this much inflated data libpng's row-by-row decoding keeps the peak
// lower than holding every filtered row at once.
constexpr size_t maximumFastBytes = 64u << 20;
constexpr char signature[] = "\x89PNG\r\n\x1a\n";

// Ancillary chunks that do not change pixel values; any other chunk sends
// the file to libpng.
constexpr const char* ignoredChunks[] = {"pHYs", "tEXt", "zTXt", "iTXt", "tIME", "sRGB"};

[[noreturn]] void fail() {
    throw DocumentError(DocumentError::Kind::render);
}

struct Header {
    uint32_t width = 0;
    uint32_t height = 0;
    int channels = 0;
};

struct Chunk {
    const uchar* type;
    const uchar* data;
    uint32_t length;
};

bool isIgnored(const uchar* type) {
    for (const char* name : ignoredChunks) {
        if (std::memcmp(type, name, 4) == 0) {
            return true;
        }
    }
    return false;
}

// Reads the chunk at `at`, checking that it fits and that its CRC matches.
Chunk chunkAt(const QByteArray& data, qsizetype at) {
    if (data.size() - at < 12) {
        fail();
    }
    const auto* base = reinterpret_cast<const uchar*>(data.constData()) + at;
    const uint32_t length = qFromBigEndian<uint32_t>(base);
    if (length > uint64_t(data.size() - at - 12)) {
        fail();
    }
    if (libdeflate_crc32(0, base + 4, length + 4) != qFromBigEndian<uint32_t>(base + 8 + length)) {
        fail();
    }
    return {base + 4, base + 8, length};
}

std::optional<Header> parseHeader(const Chunk& chunk) {
    if (std::memcmp(chunk.type, "IHDR", 4) != 0 || chunk.length != 13) {
        fail();
    }
    const uchar* d = chunk.data;
    const Header header{qFromBigEndian<uint32_t>(d), qFromBigEndian<uint32_t>(d + 4),
                        d[9] == 2   ? 3
                        : d[9] == 6 ? 4
                                    : 0};
    if (header.width == 0 || header.height == 0 || header.width > 0x7fffffffu ||
        header.height > 0x7fffffffu ||
        uint64_t(header.width) * header.height > pngMaximumDecodedPixels) {
        fail();
    }
    if (d[8] != 8 || header.channels == 0 || d[10] != 0 || d[11] != 0 || d[12] != 0) {
        return std::nullopt;
    }
    return header;
}

uint8_t paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return uint8_t(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// Undoes one row's filter in place; `previous` is the row above, already
// unfiltered, or zeros for the first row.
void unfilter(uint8_t type, uint8_t* row, const uint8_t* previous, size_t length, int bpp) {
    switch (type) {
    case 0:
        return;
    case 1:
        for (size_t i = size_t(bpp); i < length; ++i) {
            row[i] = uint8_t(row[i] + row[i - bpp]);
        }
        return;
    case 2:
        for (size_t i = 0; i < length; ++i) {
            row[i] = uint8_t(row[i] + previous[i]);
        }
        return;
    case 3:
        for (size_t i = 0; i < length; ++i) {
            const int left = i >= size_t(bpp) ? row[i - bpp] : 0;
            row[i] = uint8_t(row[i] + ((left + previous[i]) >> 1));
        }
        return;
    case 4:
        for (size_t i = 0; i < length; ++i) {
            const bool first = i < size_t(bpp);
            row[i] = uint8_t(row[i] + paeth(first ? 0 : row[i - bpp], previous[i],
                                            first ? 0 : previous[i - bpp]));
        }
        return;
    default:
        fail();
    }
}

void storeRow(const uint8_t* row, uint32_t width, int channels, uint32_t* out) {
    for (uint32_t x = 0; x < width; ++x) {
        if (channels == 3) {
            out[x] = uint32_t(row[3 * x]) | uint32_t(row[3 * x + 1]) << 8 |
                     uint32_t(row[3 * x + 2]) << 16 | 0xff000000u;
        } else {
            uint32_t pixel;
            std::memcpy(&pixel, row + 4 * x, 4);
            out[x] = qPremultiply(pixel);
        }
    }
}

struct DecompressorDeleter {
    void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

std::vector<uint8_t> inflate(const QByteArray& compressed, size_t size) {
    std::unique_ptr<libdeflate_decompressor, DecompressorDeleter> decompressor(
        libdeflate_alloc_decompressor());
    if (!decompressor) {
        fail();
    }
    std::vector<uint8_t> out(size);
    if (libdeflate_zlib_decompress(decompressor.get(), compressed.constData(),
                                   size_t(compressed.size()), out.data(), size,
                                   nullptr) != LIBDEFLATE_SUCCESS) {
        fail();
    }
    return out;
}

QImage pixelsOf(const Header& header, std::vector<uint8_t>& scanlines) {
    QImage image(int(header.width), int(header.height), QImage::Format_RGBA8888_Premultiplied);
    if (image.isNull()) {
        fail();
    }
    const size_t rowBytes = size_t(header.width) * size_t(header.channels);
    const std::vector<uint8_t> zeros(rowBytes, 0);
    const uint8_t* previous = zeros.data();
    for (uint32_t y = 0; y < header.height; ++y) {
        uint8_t* line = scanlines.data() + y * (rowBytes + 1);
        unfilter(line[0], line + 1, previous, rowBytes, header.channels);
        storeRow(line + 1, header.width, header.channels,
                 reinterpret_cast<uint32_t*>(image.scanLine(int(y))));
        previous = line + 1;
    }
    image.setColorSpace(QColorSpace::SRgb);
    return image;
}

} // namespace

std::optional<QImage> readPngFast(const QByteArray& data) {
    if (data.size() < 8 || std::memcmp(data.constData(), signature, 8) != 0) {
        fail();
    }
    const Chunk first = chunkAt(data, 8);
    const std::optional<Header> header = parseHeader(first);
    const size_t size =
        header ? (size_t(header->width) * size_t(header->channels) + 1) * size_t(header->height)
               : 0;
    if (!header || size > maximumFastBytes) {
        return std::nullopt;
    }
    QByteArray compressed;
    for (qsizetype at = 8 + 12 + first.length;;) {
        const Chunk chunk = chunkAt(data, at);
        at += 12 + qsizetype(chunk.length);
        if (std::memcmp(chunk.type, "IEND", 4) == 0) {
            break;
        }
        if (std::memcmp(chunk.type, "IDAT", 4) == 0) {
            compressed.append(reinterpret_cast<const char*>(chunk.data), chunk.length);
        } else if (!isIgnored(chunk.type)) {
            return std::nullopt;
        }
    }
    try {
        std::vector<uint8_t> scanlines = inflate(compressed, size);
        return pixelsOf(*header, scanlines);
    } catch (const std::bad_alloc&) {
        fail();
    }
}

} // namespace vellumix
