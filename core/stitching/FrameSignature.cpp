#include "stitching/FrameSignature.h"

#include "stitching/AreaSpans.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace vellumix {

namespace {

// Rec. 601 luma in 8.8 fixed point; the three weights add up to 256.
inline uint64_t luma(uint64_t r, uint64_t g, uint64_t b) {
    return (77 * r + 150 * g + 29 * b + 128) >> 8;
}

// Colour premultiplied by alpha is the colour drawn over black, which is what
// an opaque grey bitmap shows; reading the two byte orders we get from screen
// grabs and decoded files directly avoids converting a whole frame.
QImage readableFrame(const QImage& image) {
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_RGBX8888:
    case QImage::Format_RGBA8888_Premultiplied:
        return image;
    default:
        return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
}

uint64_t greyAt(const uchar* pixel, bool bytesRgba) {
    if (bytesRgba) {
        return luma(pixel[0], pixel[1], pixel[2]);
    }
    const uint32_t argb = *reinterpret_cast<const uint32_t*>(pixel);
    return luma((argb >> 16) & 0xff, (argb >> 8) & 0xff, argb & 0xff);
}

} // namespace

FrameSignature::FrameSignature(const QImage& image) {
    const QImage frame = readableFrame(image);
    if (frame.isNull()) {
        throw std::invalid_argument("The captured frame could not be read for matching.");
    }
    const int64_t sourceWidth = frame.width();
    m_width = std::min<int64_t>(sourceWidth, maximumWidth);
    m_height = frame.height();
    m_pixels.assign(static_cast<size_t>(m_width * m_height), 0);
    const bool bytesRgba = frame.format() == QImage::Format_RGBX8888 ||
                           frame.format() == QImage::Format_RGBA8888_Premultiplied;
    const std::vector<AreaSpan> spans = areaSpans(sourceWidth, m_width);
    std::vector<uint64_t> sums(static_cast<size_t>(m_width) + 1);
    const auto divisor = static_cast<uint64_t>(sourceWidth);
    for (int64_t y = 0; y < m_height; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        const uchar* row = frame.constScanLine(static_cast<int>(y));
        for (int64_t c = 0; c < sourceWidth; ++c) {
            const uint64_t grey = greyAt(row + c * 4, bytesRgba);
            const AreaSpan& span = spans[static_cast<size_t>(c)];
            sums[static_cast<size_t>(span.first)] += grey * span.weightFirst;
            sums[static_cast<size_t>(span.first) + 1] += grey * span.weightSecond;
        }
        uint8_t* out = m_pixels.data() + y * m_width;
        for (int64_t k = 0; k < m_width; ++k) {
            out[k] = static_cast<uint8_t>((sums[static_cast<size_t>(k)] + divisor / 2) / divisor);
        }
    }
}

FrameSignature::FrameSignature(int64_t width, int64_t height, std::vector<uint8_t> pixels)
    : m_width(width), m_height(height), m_pixels(std::move(pixels)) {
    if (width < 1 || height < 1 || static_cast<int64_t>(m_pixels.size()) / width != height ||
        static_cast<int64_t>(m_pixels.size()) % width != 0) {
        throw std::invalid_argument("A frame signature needs width x height grey levels.");
    }
}

double FrameSignature::difference(const FrameSignature& other) const {
    if (m_width != other.m_width || m_height != other.m_height) {
        return std::numeric_limits<double>::infinity();
    }
    uint64_t sum = 0;
    for (size_t i = 0; i < m_pixels.size(); ++i) {
        sum += static_cast<uint64_t>(std::abs(int(m_pixels[i]) - int(other.m_pixels[i])));
    }
    return static_cast<double>(sum) / static_cast<double>(m_pixels.size());
}

} // namespace vellumix
