#pragma once

#include <QImage>

#include <cstdint>
#include <vector>

namespace vellumix {

// A small greyscale copy of a captured frame: every row kept, squeezed to at
// most 64 columns, so that matching costs the same whatever the frame width.
// Row r stands for pixel row r of the frame.
class FrameSignature final {
public:
    static constexpr int64_t maximumWidth = 64;

    // Throws std::invalid_argument when the frame has no pixels to read.
    explicit FrameSignature(const QImage& image);

    // Raw grey levels, row by row from the top. Anything but width >= 1,
    // height >= 1 and width * height values is a caller's mistake and throws
    // std::invalid_argument.
    FrameSignature(int64_t width, int64_t height, std::vector<uint8_t> pixels);

    int64_t width() const { return m_width; }
    int64_t height() const { return m_height; }
    const std::vector<uint8_t>& pixels() const { return m_pixels; }

    // Mean absolute grey-level difference; infinite when the sizes differ.
    double difference(const FrameSignature& other) const;

private:
    int64_t m_width = 0;
    int64_t m_height = 0;
    std::vector<uint8_t> m_pixels;
};

} // namespace vellumix
