#include "imaging/PngFastReader.h"

#include "imaging/LargeBuffer.h"
#include "imaging/PngCodec.h"
#include "imaging/PngRowFilters.h"

#include "imaging/DocumentError.h"

#include <QColorSpace>
#include <QtEndian>

#include <libdeflate.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace vellumix {
namespace {

constexpr char signature[] = "\x89PNG\r\n\x1a\n";
// Colour profiles are a few kilobytes; the largest in use are near a megabyte.
constexpr size_t maximumProfileBytes = 4u << 20;

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

struct DecompressorDeleter {
    void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

// What the chunks before the image data said.
struct Reading {
    Header header;
    Colours colours;
    PngColourChunks notes;
    unsigned seen = 0; // colour chunks met, by their row in colourChunks
    QByteArray compressed;
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
bool readPalette(const Chunk& chunk, Reading& reading) {
    const Header& header = reading.header;
    Colours& colours = reading.colours;
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

bool readTransparency(const Chunk& chunk, Reading& reading) {
    Colours& colours = reading.colours;
    uint32_t samples[3] = {};
    switch (reading.header.colourType) {
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
bool readGamma(const Chunk& chunk, Reading& reading) {
    if (chunk.length != 4) {
        return false;
    }
    reading.notes.gammaOrPrimaries = true;
    const uint64_t againstSrgb = uint64_t(qFromBigEndian<uint32_t>(chunk.data)) * 22 / 10;
    return againstSrgb >= 96000 && againstSrgb <= 104000;
}

bool notePrimaries(const Chunk&, Reading& reading) {
    reading.notes.gammaOrPrimaries = true;
    return true;
}

bool noteSrgb(const Chunk&, Reading& reading) {
    reading.notes.srgb = true;
    return true;
}

// The profile follows its name, its terminating zero and the compression
// method; one that cannot be inflated stays empty.
bool readProfile(const Chunk& chunk, Reading& reading) {
    const auto* end = chunk.data + chunk.length;
    const auto* nameEnd = std::find(chunk.data, std::min(end, chunk.data + 80), uchar(0));
    if (end - nameEnd < 2 || nameEnd[1] != 0) {
        return true;
    }
    std::unique_ptr<libdeflate_decompressor, DecompressorDeleter> decompressor(
        libdeflate_alloc_decompressor());
    QByteArray& profile = reading.notes.iccProfile;
    for (size_t room = size_t(64) << 10; decompressor && room <= maximumProfileBytes; room *= 4) {
        profile.resize(qsizetype(room));
        size_t size = 0;
        const libdeflate_result result = libdeflate_zlib_decompress_ex(
            decompressor.get(), nameEnd + 2, size_t(end - nameEnd - 2), profile.data(), room,
            nullptr, &size);
        if (result != LIBDEFLATE_INSUFFICIENT_SPACE) {
            profile.resize(result == LIBDEFLATE_SUCCESS ? qsizetype(size) : 0);
            return true;
        }
    }
    profile.clear();
    return true;
}

struct ColourChunk {
    const char* type;
    bool (*read)(const Chunk&, Reading&);
};

constexpr ColourChunk colourChunks[] = {{"PLTE", readPalette}, {"tRNS", readTransparency},
                                        {"gAMA", readGamma},   {"cHRM", notePrimaries},
                                        {"sRGB", noteSrgb},    {"iCCP", readProfile}};

// Any other ancillary chunk (text, time, resolution, colour space notes)
// leaves libpng's 8-bit RGBA output unchanged; each colour chunk may come
// once, before the image data.
bool readOtherChunk(const Chunk& chunk, Reading& reading, bool afterData) {
    for (size_t i = 0; i < std::size(colourChunks); ++i) {
        if (isType(chunk, colourChunks[i].type)) {
            if (afterData || (reading.seen & (1u << i)) != 0) {
                return false;
            }
            reading.seen |= 1u << i;
            return colourChunks[i].read(chunk, reading);
        }
    }
    return isAncillary(chunk.type);
}

// Walks the chunks after IHDR, gathering the image data and colour chunks.
std::optional<Reading> readChunks(const QByteArray& data, qsizetype at, const Header& header) {
    Reading reading{header, {}, {}, 0, {}};
    reading.compressed.reserve(data.size());
    Colours& colours = reading.colours;
    if (header.colourType == grey) {
        for (uint32_t level = 0; level < 256; ++level) {
            colours.table[level] = opaqueWord(level, level, level);
        }
    } else if (header.colourType == palette) {
        // libpng shows indices past the palette's end as opaque black.
        colours.table.fill(0xff000000u);
    }
    bool inData = false, dataEnded = false;
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
            reading.compressed.append(reinterpret_cast<const char*>(chunk.data), chunk.length);
        } else {
            dataEnded = inData;
            if (!readOtherChunk(chunk, reading, inData)) {
                return std::nullopt;
            }
        }
    }
    if (header.colourType == palette && colours.paletteSize == 0) {
        return std::nullopt;
    }
    return reading;
}

// Screens are opaque: rows whose alpha is all 255 are copied as they are.
void premultiplyRow(const uint8_t* row, uint32_t width, uint32_t* out) {
    std::memcpy(out, row, size_t(width) * 4);
    uint32_t alphas = 0xff000000u;
    for (uint32_t x = 0; x < width; ++x) {
        alphas &= out[x];
    }
    if (alphas != 0xff000000u) {
        for (uint32_t x = 0; x < width; ++x) {
            out[x] = qPremultiply(out[x]);
        }
    }
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
        premultiplyRow(row, width, out);
    }
}

struct ReleaseDeleter {
    void operator()(uchar* memory) const { releaseLargeBuffer(memory); }
};

void inflate(const QByteArray& compressed, uchar* out, size_t size) {
    std::unique_ptr<libdeflate_decompressor, DecompressorDeleter> decompressor(
        libdeflate_alloc_decompressor());
    if (!decompressor || libdeflate_zlib_decompress(decompressor.get(), compressed.constData(),
                                                    size_t(compressed.size()), out, size,
                                                    nullptr) != LIBDEFLATE_SUCCESS) {
        fail();
    }
}

// One allocation holds both the inflated rows, at its end, and the image
// they become, from its start: each filtered row is copied out before its
// pixels are written, and row y's pixels end before row y + 1's filtered
// bytes begin, since no pixel is stored in more than four bytes and the
// buffer has one byte a row to spare for the filter types.
QImage pixelsOf(const Header& header, const Colours& colours, const QByteArray& compressed) {
    const size_t width = header.width, height = header.height;
    const size_t rowBytes = width * size_t(header.channels);
    const size_t scanlineBytes = (rowBytes + 1) * height;
    const size_t total = width * 4 * height + height;
    std::unique_ptr<uchar, ReleaseDeleter> buffer(allocateLargeBuffer(total));
    if (!buffer) {
        fail();
    }
    uchar* scanlines = buffer.get() + total - scanlineBytes;
    inflate(compressed, scanlines, scanlineBytes);
    std::vector<uint8_t> rows(2 * rowBytes, 0);
    uint8_t* current = rows.data();
    uint8_t* previous = rows.data() + rowBytes;
    for (size_t y = 0; y < height; ++y) {
        const uchar* line = scanlines + y * (rowBytes + 1);
        std::memcpy(current, line + 1, rowBytes);
        if (!unfilterPngRow(line[0], current, previous, rowBytes, header.channels)) {
            fail();
        }
        expandRow(current, header, colours,
                  reinterpret_cast<uint32_t*>(buffer.get() + y * width * 4));
        std::swap(current, previous);
    }
    QImage image(buffer.get(), int(width), int(height), qsizetype(width * 4),
                 QImage::Format_RGBA8888_Premultiplied, releaseLargeBuffer, buffer.get());
    if (image.isNull()) {
        fail();
    }
    buffer.release();
    image.setColorSpace(QColorSpace::SRgb);
    return image;
}

} // namespace

std::optional<QImage> readPngFast(const QByteArray& data, PngColourChunks* notes) {
    if (data.size() < 8 || std::memcmp(data.constData(), signature, 8) != 0) {
        fail();
    }
    const Chunk first = chunkAt(data, 8);
    const std::optional<Header> header = parseHeader(first);
    if (!header) {
        return std::nullopt;
    }
    const std::optional<Reading> reading = readChunks(data, 8 + 12 + first.length, *header);
    if (!reading) {
        return std::nullopt;
    }
    if (notes != nullptr) {
        *notes = reading->notes;
    }
    try {
        return pixelsOf(*header, reading->colours, reading->compressed);
    } catch (const std::bad_alloc&) {
        fail();
    }
}

} // namespace vellumix
