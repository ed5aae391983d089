#include "imaging/PngFastReader.h"

#include "imaging/PngCodec.h"
#include "imaging/PngRowFilters.h"

#include "stitching/DocumentError.h"

#include <QColorSpace>
#include <QtEndian>

#include <libdeflate.h>

#include <array>
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

enum ColourType : uint8_t { grey = 0, rgb = 2, palette = 3, greyAlpha = 4, rgba = 6 };

// Samples per pixel by colour type; zero where the type does not exist.
constexpr int channelsByType[] = {1, 0, 3, 1, 2, 0, 4};

[[noreturn]] void fail() {
    throw DocumentError(DocumentError::Kind::render);
}

struct Header {
    uint32_t width = 0;
    uint32_t height = 0;
    uint8_t colourType = 0;
    int channels = 0;
};

// How stored samples become premultiplied RGBA8888 words: grey levels and
// palette indices through a table, RGB through an optional transparent key.
struct Colours {
    std::array<uint32_t, 256> table{};
    int paletteSize = 0;
    bool hasKey = false;
    uint32_t key = 0;
};

struct Chunk {
    const uchar* type;
    const uchar* data;
    uint32_t length;
    bool intact;
};

bool isAncillary(const uchar* type) {
    return (type[0] & 0x20) != 0;
}

bool isType(const Chunk& chunk, const char* type) {
    return std::memcmp(chunk.type, type, 4) == 0;
}

// Reads the chunk at `at`, checking that it fits and whether its CRC matches.
Chunk chunkAt(const QByteArray& data, qsizetype at) {
    if (data.size() - at < 12) {
        fail();
    }
    const auto* base = reinterpret_cast<const uchar*>(data.constData()) + at;
    const uint32_t length = qFromBigEndian<uint32_t>(base);
    if (length > uint64_t(data.size() - at - 12)) {
        fail();
    }
    const bool intact =
        libdeflate_crc32(0, base + 4, length + 4) == qFromBigEndian<uint32_t>(base + 8 + length);
    return {base + 4, base + 8, length, intact};
}

std::optional<Header> parseHeader(const Chunk& chunk) {
    if (!isType(chunk, "IHDR") || chunk.length != 13 || !chunk.intact) {
        fail();
    }
    const uchar* d = chunk.data;
    const Header header{qFromBigEndian<uint32_t>(d), qFromBigEndian<uint32_t>(d + 4), d[9],
                        d[9] < std::size(channelsByType) ? channelsByType[d[9]] : 0};
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

uint32_t opaqueWord(uint32_t r, uint32_t g, uint32_t b) {
    return r | g << 8 | b << 16 | 0xff000000u;
}

// The chunk readers below return false where libpng's reading of an unusual
// file (a misplaced or malformed colour chunk) is the answer to keep.
bool readPalette(const Chunk& chunk, const Header& header, Colours& colours) {
    if (header.colourType != palette) {
        // A suggested palette for RGB files changes no pixel.
        return header.colourType & 2;
    }
    const uint32_t entries = chunk.length / 3;
    if (chunk.length % 3 != 0 || entries == 0 || entries > 256) {
        return false;
    }
    for (uint32_t i = 0; i < entries; ++i) {
        const uchar* entry = chunk.data + 3 * i;
        colours.table[i] = opaqueWord(entry[0], entry[1], entry[2]);
    }
    colours.paletteSize = int(entries);
    return true;
}

// Two-byte sample values; an 8-bit file's must fit in a byte.
bool readSamples(const Chunk& chunk, uint32_t count, uint32_t* values) {
    if (chunk.length != 2 * count) {
        return false;
    }
    for (uint32_t i = 0; i < count; ++i) {
        values[i] = qFromBigEndian<uint16_t>(chunk.data + 2 * i);
        if (values[i] > 255) {
            return false;
        }
    }
    return true;
}

bool readTransparency(const Chunk& chunk, const Header& header, Colours& colours) {
    uint32_t samples[3] = {};
    switch (header.colourType) {
    case palette:
        if (chunk.length == 0 || chunk.length > uint32_t(colours.paletteSize)) {
            return false;
        }
        for (uint32_t i = 0; i < chunk.length; ++i) {
            colours.table[i] =
                qPremultiply((colours.table[i] & 0xffffffu) | uint32_t(chunk.data[i]) << 24);
        }
        return true;
    case grey:
        if (!readSamples(chunk, 1, samples)) {
            return false;
        }
        colours.table[samples[0]] = 0;
        return true;
    case rgb:
        colours.hasKey = readSamples(chunk, 3, samples);
        colours.key = opaqueWord(samples[0], samples[1], samples[2]);
        return colours.hasKey;
    default:
        return false;
    }
}

// libpng leaves the samples of 8-bit output alone when the file's gamma is
// within a few percent of sRGB's; other gammas it corrects.
bool readGamma(const Chunk& chunk, const Header&, Colours&) {
    if (chunk.length != 4) {
        return false;
    }
    const uint64_t againstSrgb = uint64_t(qFromBigEndian<uint32_t>(chunk.data)) * 22 / 10;
    return againstSrgb >= 96000 && againstSrgb <= 104000;
}

struct ColourChunk {
    const char* type;
    bool (*read)(const Chunk&, const Header&, Colours&);
};

constexpr ColourChunk colourChunks[] = {
    {"PLTE", readPalette}, {"tRNS", readTransparency}, {"gAMA", readGamma}};

// Any other ancillary chunk (text, time, resolution, colour space notes)
// leaves libpng's 8-bit RGBA output unchanged; each colour chunk may come
// once, before the image data.
bool readOtherChunk(const Chunk& chunk, const Header& header, Colours& colours, bool afterData,
                    unsigned& seen) {
    for (size_t i = 0; i < std::size(colourChunks); ++i) {
        if (isType(chunk, colourChunks[i].type)) {
            if (afterData || (seen & (1u << i)) != 0) {
                return false;
            }
            seen |= 1u << i;
            return colourChunks[i].read(chunk, header, colours);
        }
    }
    return isAncillary(chunk.type);
}

struct Stream {
    QByteArray compressed;
    Colours colours;
};

// Walks the chunks after IHDR, gathering the image data and colour chunks.
std::optional<Stream> readChunks(const QByteArray& data, qsizetype at, const Header& header) {
    Stream stream;
    if (header.colourType == grey) {
        for (uint32_t level = 0; level < 256; ++level) {
            stream.colours.table[level] = opaqueWord(level, level, level);
        }
    } else if (header.colourType == palette) {
        // libpng shows indices past the palette's end as opaque black.
        stream.colours.table.fill(0xff000000u);
    }
    bool inData = false, dataEnded = false;
    unsigned seen = 0;
    for (;;) {
        const Chunk chunk = chunkAt(data, at);
        at += 12 + qsizetype(chunk.length);
        if (!chunk.intact) {
            // libpng drops an ancillary chunk whose CRC fails and reads on.
            if (!isAncillary(chunk.type)) {
                fail();
            }
            return std::nullopt;
        }
        if (isType(chunk, "IEND")) {
            break;
        }
        if (isType(chunk, "IDAT")) {
            if (dataEnded) {
                return std::nullopt;
            }
            inData = true;
            stream.compressed.append(reinterpret_cast<const char*>(chunk.data), chunk.length);
        } else {
            dataEnded = inData;
            if (!readOtherChunk(chunk, header, stream.colours, inData, seen)) {
                return std::nullopt;
            }
        }
    }
    if (header.colourType == palette && stream.colours.paletteSize == 0) {
        return std::nullopt;
    }
    return stream;
}

void expandRow(const uint8_t* row, const Header& header, const Colours& colours, uint32_t* out) {
    const uint32_t width = header.width;
    switch (header.colourType) {
    case grey:
    case palette:
        for (uint32_t x = 0; x < width; ++x) {
            out[x] = colours.table[row[x]];
        }
        return;
    case greyAlpha:
        for (uint32_t x = 0; x < width; ++x) {
            out[x] =
                qPremultiply(uint32_t(row[2 * x]) * 0x010101u | uint32_t(row[2 * x + 1]) << 24);
        }
        return;
    case rgb:
        for (uint32_t x = 0; x < width; ++x) {
            out[x] = opaqueWord(row[3 * x], row[3 * x + 1], row[3 * x + 2]);
        }
        if (colours.hasKey) {
            for (uint32_t x = 0; x < width; ++x) {
                out[x] = out[x] == colours.key ? 0 : out[x];
            }
        }
        return;
    default:
        for (uint32_t x = 0; x < width; ++x) {
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

QImage pixelsOf(const Header& header, const Colours& colours, std::vector<uint8_t>& scanlines) {
    QImage image(int(header.width), int(header.height), QImage::Format_RGBA8888_Premultiplied);
    if (image.isNull()) {
        fail();
    }
    const size_t rowBytes = size_t(header.width) * size_t(header.channels);
    const std::vector<uint8_t> zeros(rowBytes, 0);
    const uint8_t* previous = zeros.data();
    for (uint32_t y = 0; y < header.height; ++y) {
        uint8_t* line = scanlines.data() + y * (rowBytes + 1);
        if (!unfilterPngRow(line[0], line + 1, previous, rowBytes, header.channels)) {
            fail();
        }
        expandRow(line + 1, header, colours, reinterpret_cast<uint32_t*>(image.scanLine(int(y))));
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
    const std::optional<Stream> stream = readChunks(data, 8 + 12 + first.length, *header);
    if (!stream) {
        return std::nullopt;
    }
    try {
        std::vector<uint8_t> scanlines = inflate(stream->compressed, size);
        return pixelsOf(*header, stream->colours, scanlines);
    } catch (const std::bad_alloc&) {
        fail();
    }
}

} // namespace vellumix
