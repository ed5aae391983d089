#pragma once

#include <QImage>

#include <string>

namespace vellumix {

// Where two images first differ, as text; empty when they are equal pixel
// for pixel.
inline std::string firstDifference(const QImage& actual, const QImage& expected) {
    if (actual.size() != expected.size() || actual.format() != expected.format()) {
        return "size or format differs";
    }
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            if (actual.pixel(x, y) != expected.pixel(x, y)) {
                return "pixel " + std::to_string(x) + ", " + std::to_string(y) + " differs";
            }
        }
    }
    return std::string();
}

} // namespace vellumix
