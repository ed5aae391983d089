#include "imaging/PngCodec.h"

#include "ExpectError.h"

#include <QColorSpace>
#include <QRandomGenerator>
#include <QtEndian>

#include <libdeflate.h>

#include <gtest/gtest.h>

#include <cstring>

namespace vellumix {
namespace {

QImage premultipliedImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGBA8888_Premultiplied);
    image.setColorSpace(QColorSpace::SRgb);
    return image;
}

void setBytes(QImage& image, int x, int y, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    const uint8_t bytes[] = {r, g, b, a};
    std::memcpy(image.scanLine(y) + 4 * x, bytes, sizeof bytes);
}

// Every valid premultiplied pixel: each alpha with each colour value up to it.
QImage everyTranslucentPixel() {
    QImage image = premultipliedImage(256, 256);
    for (int alpha = 0; alpha < 256; ++alpha) {
        for (int value = 0; value < 256; ++value) {
            const int c = std::min(value, alpha);
            setBytes(image, value, alpha, uint8_t(c), uint8_t(alpha - c), uint8_t(c / 2),
                     uint8_t(alpha));
        }
    }
    return image;
}

// Inserts a chunk right after IHDR.
QByteArray withChunk(QByteArray png, const char* type, const QByteArray& payload) {
    QByteArray chunk(4, '\0');
    qToBigEndian(uint32_t(payload.size()), chunk.data());
    const QByteArray body = QByteArray(type) + payload;
    chunk += body;
    QByteArray crc(4, '\0');
    qToBigEndian(libdeflate_crc32(0, body.constData(), size_t(body.size())), crc.data());
    return png.insert(33, chunk + crc);
}

// The file with its header claiming other dimensions, depth and colour type.
QByteArray withSize(const QByteArray& png, uint32_t width, uint32_t height, char depth,
                    char colourType) {
    QByteArray header = png.mid(12, 17);
    qToBigEndian(width, header.data() + 4);
    qToBigEndian(height, header.data() + 8);
    header[12] = depth;
    header[13] = colourType;
    QByteArray crc(4, '\0');
    qToBigEndian(libdeflate_crc32(0, header.constData(), 17), crc.data());
    return png.left(12) + header + crc + png.mid(33);
}

// A 1 × 1 RGB file whose only row carries `filter` as its filter type.
QByteArray onePixelWithFilter(char filter) {
    const char scanline[] = {filter, 10, 20, 30};
    libdeflate_compressor* compressor = libdeflate_alloc_compressor(1);
    QByteArray stream(64, '\0');
    stream.resize(qsizetype(libdeflate_zlib_compress(compressor, scanline, sizeof scanline,
                                                     stream.data(), size_t(stream.size()))));
    libdeflate_free_compressor(compressor);
    QImage opaquePixel = premultipliedImage(1, 1);
    opaquePixel.fill(Qt::black);
    const QByteArray valid = encodePng(opaquePixel);
    return withChunk(valid.left(33) + valid.right(12), "IDAT", stream);
}

// Glyph-like stamps repeated over a dark panel compress best unfiltered, a
// noisy gradient after the sub filter; each way must round trip, opaque
// images stored as RGB and translucent ones as straight RGBA. Which coding
// makes the smaller file is the encoder benchmark's to measure. QImage's
// equality takes in the format and the colour space.
TEST(PngCodec, eachRowCodingTheEncoderChoosesRoundTripsExactly) {
    QRandomGenerator random(5);
    for (const int alpha : {255, 128}) {
        const auto shade = [alpha](int value) {
            return uint8_t(value * alpha / 255);
        };
        QImage glyphs = premultipliedImage(300, 300), noise = premultipliedImage(300, 300);
        glyphs.fill(QColor(30, 30, 30, alpha));
        for (int y = 0; y < 300; ++y) {
            for (int x = 0; x < 300; ++x) {
                const int n = int(random.bounded(9u));
                setBytes(noise, x, y, shade(x / 2 + n), shade(y / 2 + n), shade(100 + n), alpha);
                if (x % 7 == 0 && y % 11 == 0 && x + 6 < 300 && y + 8 < 300) {
                    setBytes(glyphs, x + (x * 7 + y) % 5, y + x % 7, shade(212), shade(212),
                             shade(212), alpha);
                    setBytes(glyphs, x + 1, y + 3, shade(86), shade(156), shade(214), alpha);
                }
            }
        }
        for (const QImage& image : {glyphs, noise}) {
            const QByteArray png = encodePng(image);
            EXPECT_EQ(uint8_t(png.at(25)), alpha == 255 ? 2 : 6);
            EXPECT_EQ(decodePng(png), image);
        }
    }
}

TEST(PngCodec, bandedEncodingRoundTripsExactly) {
    const QImage translucent = everyTranslucentPixel();
    const QByteArray banded = encodePng(translucent, 0);
    EXPECT_NE(banded, encodePng(translucent));
    EXPECT_EQ(decodePng(banded), translucent);
    // Noise does not compress, so its stream spans several IDAT chunks.
    QImage noise = premultipliedImage(600, 800);
    QRandomGenerator random(3);
    for (int y = 0; y < noise.height(); ++y) {
        auto* row = reinterpret_cast<quint32*>(noise.scanLine(y));
        random.fillRange(row, noise.width());
        for (int x = 0; x < noise.width(); ++x) {
            row[x] |= 0xff000000u;
        }
    }
    const QByteArray png = encodePng(noise, 0);
    EXPECT_GT(png.count("IDAT"), 1);
    EXPECT_EQ(decodePng(png), noise);
}

TEST(PngCodec, otherPixelFormatsAreEncodedByValue) {
    QImage straight(3, 1, QImage::Format_ARGB32);
    straight.setPixelColor(0, 0, QColor(255, 0, 0, 255));
    straight.setPixelColor(1, 0, QColor(0, 255, 0, 51));
    straight.setPixelColor(2, 0, QColor(10, 20, 30, 0));
    const QImage decoded = decodePng(encodePng(straight));
    EXPECT_EQ(decoded.pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(decoded.pixelColor(1, 0), QColor(0, 255, 0, 51));
    EXPECT_EQ(decoded.pixelColor(2, 0).alpha(), 0);
}

TEST(PngCodec, gammaChunksAreHonoured) {
    QImage grey = premultipliedImage(4, 4);
    grey.fill(QColor(128, 128, 128));
    QByteArray linearGamma(4, '\0');
    qToBigEndian(uint32_t(100000), linearGamma.data());
    const QImage decoded = decodePng(withChunk(encodePng(grey), "gAMA", linearGamma));
    EXPECT_GT(decoded.pixelColor(1, 1).red(), 160);
    const QImage plain = decodePng(withChunk(encodePng(grey), "tEXt", "Comment\0plain"));
    EXPECT_EQ(plain.pixelColor(1, 1), QColor(128, 128, 128));
}

TEST(PngCodec, malformedDataAndEmptyImagesFailWithRenderError) {
    const QByteArray valid = encodePng(everyTranslucentPixel());
    QByteArray badCrc = valid;
    badCrc[50] = char(badCrc[50] ^ 0x40);
    const QByteArray badStream = withChunk(valid.left(33) + valid.right(12), "IDAT", "xx");
    EXPECT_EQ(decodePng(onePixelWithFilter(1)).pixelColor(0, 0), QColor(10, 20, 30));
    for (const QByteArray& data :
         {QByteArray(), QByteArray("not a png"), valid.left(60), valid.left(valid.size() - 20),
          badCrc, badStream, onePixelWithFilter(9), withSize(valid, 30000, 20000, 8, 2),
          withSize(valid, 24768, 334019, 16, 0)}) {
        SCOPED_TRACE(data.size());
        test::expectError(DocumentError::Kind::render, [&] { decodePng(data); });
    }
    EXPECT_THROW(encodePng(QImage()), DocumentError);
}

} // namespace
} // namespace vellumix
