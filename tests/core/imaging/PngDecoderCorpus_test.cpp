#include "imaging/PngFastReader.h"

#include <QColorSpace>
#include <QDir>
#include <QFile>

#include <png.h>

#include <gtest/gtest.h>

#include <vector>

// The fast reader against libpng on files from other encoders: every file
// must take the fast path and give libpng's pixels exactly. png-corpus holds
// files written by ImageMagick (im-, with gamma and primaries chunks), Pillow
// (pil-), libvips (vips-) and Qt (qt-, with an ICC profile), named by colour
// type and by compression level and filter where those were chosen.
namespace vellumix {
namespace {

QImage decodedByLibpng(const QByteArray& data) {
    png_image info{};
    info.version = PNG_IMAGE_VERSION;
    EXPECT_TRUE(png_image_begin_read_from_memory(&info, data.constData(), size_t(data.size())));
    info.format = PNG_FORMAT_RGBA;
    QImage image(int(info.width), int(info.height), QImage::Format_RGBA8888);
    EXPECT_TRUE(png_image_finish_read(&info, nullptr, image.bits(),
                                      png_int_32(image.bytesPerLine()), nullptr));
    image.convertTo(QImage::Format_RGBA8888_Premultiplied);
    image.setColorSpace(QColorSpace::SRgb);
    return image;
}

void expectSameAsLibpng(const QByteArray& data, const std::string& name) {
    SCOPED_TRACE(name);
    const std::optional<QImage> fast = readPngFast(data);
    ASSERT_TRUE(fast.has_value());
    EXPECT_EQ(*fast, decodedByLibpng(data));
}

void appendTo(png_structp png, png_bytep data, size_t length) {
    static_cast<QByteArray*>(png_get_io_ptr(png))
        ->append(reinterpret_cast<char*>(data), qsizetype(length));
}

// 37 × 9 pixels (an odd width, so RGB rows do not end on a word) of flat
// runs, gradients and scattered values of few levels, so that each predictor
// and each of paeth's ties is met; rows are laid out four bytes a pixel,
// of which each colour type uses its own number. The palette is shorter than
// the samples' range: libpng shows the missing entries as opaque black.
QByteArray writeWithLibpng(int colourType, int filter, const png_color_16* key, bool paletteAlpha) {
    std::vector<png_byte> pixels(37 * 9 * 4);
    std::vector<png_bytep> rows(9);
    for (size_t i = 0; i < pixels.size(); ++i) {
        const size_t x = i % (37 * 4), y = i / (37 * 4);
        pixels[i] = png_byte(y % 3 == 0   ? 246
                             : y % 3 == 1 ? x * 7 + y * 13 + (x * y % 5) * 40
                                          : ((i * 2654435761u) >> 13) % 16 * 17);
        rows[y] = pixels.data() + y * 37 * 4;
    }
    std::vector<png_color> palette(200);
    for (size_t i = 0; i < palette.size(); ++i) {
        palette[i] = {png_byte(i), png_byte(255 - i), png_byte(i * 3)};
    }
    std::vector<png_byte> alphas(150);
    for (size_t i = 0; i < alphas.size(); ++i) {
        alphas[i] = png_byte(i * 7);
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    QByteArray out;
    if (setjmp(png_jmpbuf(png)) == 0) {
        png_set_write_fn(png, &out, appendTo, nullptr);
        png_set_IHDR(png, info, 37, 9, 8, colourType, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_set_filter(png, 0, filter);
        png_set_check_for_invalid_index(png, 0);
        if (colourType == PNG_COLOR_TYPE_PALETTE) {
            png_set_PLTE(png, info, palette.data(), int(palette.size()));
        }
        if (paletteAlpha || key != nullptr) {
            png_set_tRNS(png, info, alphas.data(), paletteAlpha ? int(alphas.size()) : 0, key);
        }
        png_set_rows(png, info, rows.data());
        png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    } else {
        ADD_FAILURE() << "libpng could not write the file";
    }
    png_destroy_write_struct(&png, &info);
    return out;
}

TEST(PngDecoderCorpus, everyColourTypeAndFilterMatchesLibpng) {
    const png_color_16 greyKey{0, 0, 0, 0, 246}, rgbKey{0, 246, 246, 246, 0};
    // Colour type, transparent key, palette alpha.
    const std::tuple<int, const png_color_16*, bool> files[] = {
        {PNG_COLOR_TYPE_GRAY, nullptr, false},       {PNG_COLOR_TYPE_GRAY, &greyKey, false},
        {PNG_COLOR_TYPE_GRAY_ALPHA, nullptr, false}, {PNG_COLOR_TYPE_RGB, nullptr, false},
        {PNG_COLOR_TYPE_RGB, &rgbKey, false},        {PNG_COLOR_TYPE_RGBA, nullptr, false},
        {PNG_COLOR_TYPE_PALETTE, nullptr, false},    {PNG_COLOR_TYPE_PALETTE, nullptr, true}};
    for (const int filter : {PNG_FILTER_NONE, PNG_FILTER_SUB, PNG_FILTER_UP, PNG_FILTER_AVG,
                             PNG_FILTER_PAETH, PNG_ALL_FILTERS}) {
        for (const auto& [colourType, key, paletteAlpha] : files) {
            expectSameAsLibpng(writeWithLibpng(colourType, filter, key, paletteAlpha),
                               "colour type " + std::to_string(colourType) + " filter " +
                                   std::to_string(filter));
        }
    }
}

TEST(PngDecoderCorpus, filesFromOtherEncodersMatchLibpng) {
    const QDir corpus(QStringLiteral(VELLUMIX_SOURCE_DIR "/tests/core/imaging/png-corpus"));
    const QStringList names = corpus.entryList({QStringLiteral("*.png")}, QDir::Files);
    ASSERT_GE(names.size(), 20);
    for (const QString& name : names) {
        QFile file(corpus.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        expectSameAsLibpng(file.readAll(), name.toStdString());
    }
}

} // namespace
} // namespace vellumix
