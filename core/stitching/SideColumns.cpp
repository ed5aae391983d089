#include "stitching/SideColumns.h"

#include <algorithm>

namespace vellumix {

namespace {

const uint32_t* pixelsOf(const QImage& image, int y) {
    return reinterpret_cast<const uint32_t*>(image.constScanLine(y));
}

// Signature column c averages frame columns [c * W / w, (c + 1) * W / w), so
// the first `columns` signature columns and the one beside them, which may
// be half fixed, end at this frame column.
int frameColumns(int64_t columns, int64_t frameWidth, int64_t signatureWidth) {
    if (columns == 0) {
        return 0;
    }
    const int64_t end = ((columns + 1) * frameWidth + signatureWidth - 1) / signatureWidth;
    return int(std::min(end, frameWidth));
}

uint32_t mostCommon(std::vector<uint32_t> values) {
    std::sort(values.begin(), values.end());
    uint32_t best = values.front();
    size_t bestCount = 0;
    for (size_t i = 0; i < values.size();) {
        size_t j = i;
        while (j < values.size() && values[j] == values[i]) {
            ++j;
        }
        if (j - i > bestCount) {
            best = values[i];
            bestCount = j - i;
        }
        i = j;
    }
    return best;
}

} // namespace

SideColumns SideColumns::find(const QImage& previous, const QImage& next, const FixedParts& parts,
                              int64_t signatureWidth) {
    if ((parts.left == 0 && parts.right == 0) || previous.format() != next.format() ||
        previous.depth() != 32 || previous.size() != next.size()) {
        return {};
    }
    const int width = next.width();
    SideColumns sides;
    sides.m_left = frameColumns(parts.left, width, signatureWidth);
    sides.m_right = frameColumns(parts.right, width, signatureWidth);
    for (int y = 0; y < next.height() && sides.m_left + sides.m_right > 0; ++y) {
        const uint32_t* a = pixelsOf(previous, y);
        const uint32_t* b = pixelsOf(next, y);
        sides.m_left = int(std::mismatch(a, a + sides.m_left, b).first - a);
        const auto ra = std::make_reverse_iterator(a + width);
        sides.m_right =
            int(std::mismatch(ra, ra + sides.m_right, std::make_reverse_iterator(b + width)).first -
                ra);
    }
    if (sides.m_left + sides.m_right == 0 || sides.m_left + sides.m_right >= width) {
        return {};
    }
    sides.m_varies.assign(size_t(width), false);
    const uint32_t* first = pixelsOf(next, 0);
    auto markVarying = [&](const uint32_t* row, int from, int to) {
        for (int x = from; x < to; ++x) {
            sides.m_varies[size_t(x)] = sides.m_varies[size_t(x)] || row[x] != first[x];
        }
    };
    for (int y = 1; y < next.height(); ++y) {
        markVarying(pixelsOf(next, y), 0, sides.m_left);
        markVarying(pixelsOf(next, y), width - sides.m_right, width);
    }
    return sides;
}

void SideColumns::fill(QImage& strip) const {
    std::vector<int> columns;
    for (size_t x = 0; x < m_varies.size(); ++x) {
        if (m_varies[x]) {
            columns.push_back(int(x));
        }
    }
    if (columns.empty() || strip.isNull()) {
        return;
    }
    // A few rows tell the side's background; every row would cost as much
    // as the append itself on a tall strip.
    std::vector<uint32_t> samples;
    const int step = std::max(1, strip.height() / 16);
    for (int y = 0; y < strip.height(); y += step) {
        for (int x : columns) {
            samples.push_back(pixelsOf(strip, y)[x]);
        }
    }
    const uint32_t background = mostCommon(std::move(samples));
    for (int y = 0; y < strip.height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(strip.scanLine(y));
        for (int x : columns) {
            row[x] = background;
        }
    }
}

} // namespace vellumix
