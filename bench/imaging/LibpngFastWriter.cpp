#include "LibpngFastWriter.h"

#include <png.h>

#include <cstring>
#include <stdexcept>
#include <vector>

namespace vellumix::bench {
namespace {

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<QByteArray*>(png_get_io_ptr(png));
    out->append(reinterpret_cast<const char*>(data), qsizetype(length));
}

void flushNothing(png_structp) {}

} // namespace

QByteArray encodeWithFastLibpng(const QImage& opaqueImage) {
    const QImage image = opaqueImage.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    QByteArray out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("libpng failed");
    }
    png_set_write_fn(png, &out, appendBytes, flushNothing);
    png_set_IHDR(png, info, png_uint_32(image.width()), png_uint_32(image.height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    std::vector<png_byte> row(size_t(image.width()) * 3);
    for (int y = 0; y < image.height(); ++y) {
        const uchar* source = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            std::memcpy(&row[3 * size_t(x)], source + 4 * x, 3);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

} // namespace vellumix::bench
