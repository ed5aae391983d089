#include "recording/PaletteRemap.h"

#include "recording/GifFile.h"

#include <algorithm>
#include <array>
#include <vector>

namespace vellumix {

namespace {

// Dithered values wander through many colours; past this the cache restarts
// rather than grow without end.
constexpr qsizetype cacheLimit = 1 << 18;

using Error = std::array<int, 3>;

quint32 pixelAt(const QImage& image, int x, int y) {
    return reinterpret_cast<const quint32*>(image.constScanLine(y))[x];
}

int channel(quint32 rgb, int shift) {
    return int((rgb >> shift) & 0xff);
}

// Floyd and Steinberg's weights, in sixteenths, to the right and to the
// three pixels below.
void spread(const Error& error, int x, std::vector<Error>& row, std::vector<Error>& below) {
    for (int c = 0; c < 3; ++c) {
        const int e = error[size_t(c)] * PaletteRemap::diffusionPercent / 100;
        row[size_t(x + 2)][size_t(c)] += e * 7 / 16;
        below[size_t(x)][size_t(c)] += e * 3 / 16;
        below[size_t(x + 1)][size_t(c)] += e * 5 / 16;
        below[size_t(x + 2)][size_t(c)] += e / 16;
    }
}

} // namespace

PaletteRemap::PaletteRemap(const QVector<quint32>& palette) : m_palette(palette) {}

int PaletteRemap::nearest(quint32 rgb) {
    const auto cached = m_nearest.constFind(rgb);
    if (cached != m_nearest.constEnd()) {
        return *cached;
    }
    int best = 0;
    int bestDistance = INT_MAX;
    for (int i = 0; i < m_palette.size(); ++i) {
        int distance = 0;
        for (const int shift : {16, 8, 0}) {
            const int d = channel(rgb, shift) - channel(m_palette[i], shift);
            distance += d * d;
        }
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    if (m_nearest.size() >= cacheLimit) {
        m_nearest.clear();
    }
    m_nearest.insert(rgb, uchar(best));
    return best;
}

// Bytes in memory are R, G, B, A: on this little-endian word, red is the low
// byte.
int PaletteRemap::dithered(quint32 source, int i, std::vector<Error>& row,
                           std::vector<Error>& below) {
    const Error& carried = row[size_t(i + 1)];
    Error wanted;
    for (int c = 0; c < 3; ++c) {
        wanted[size_t(c)] = std::clamp(channel(source, 8 * c) + carried[size_t(c)], 0, 255);
    }
    const int index =
        nearest(quint32(wanted[0]) << 16 | quint32(wanted[1]) << 8 | quint32(wanted[2]));
    const quint32 chosen = m_palette[index];
    spread({wanted[0] - channel(chosen, 16), wanted[1] - channel(chosen, 8),
            wanted[2] - channel(chosen, 0)},
           i, row, below);
    return index;
}

// A pixel the frames share, or whose new index is the one already shown,
// stays transparent.
QByteArray PaletteRemap::remap(const QImage& frame, const QImage& previous, const QRect& rect) {
    QByteArray indices(qsizetype(rect.width()) * rect.height(), Qt::Uninitialized);
    auto* out = reinterpret_cast<uchar*>(indices.data());
    if (previous.isNull()) {
        m_shown = QByteArray(qsizetype(frame.width()) * frame.height(), 0);
    }
    // Errors of the current row and the next, one pixel of margin each side.
    std::vector<Error> row(size_t(rect.width() + 2)), below(row.size());
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        std::fill(below.begin(), below.end(), Error{});
        auto* shown = reinterpret_cast<uchar*>(m_shown.data()) + qsizetype(y) * frame.width();
        for (int x = rect.left(), i = 0; x <= rect.right(); ++x, ++i) {
            const quint32 source = pixelAt(frame, x, y);
            const bool same = !previous.isNull() && pixelAt(previous, x, y) == source;
            const int index = same ? shown[x] : dithered(source, i, row, below);
            *out++ =
                uchar(!previous.isNull() && index == shown[x] ? GifFile::transparentIndex : index);
            shown[x] = uchar(index);
        }
        std::swap(row, below);
    }
    return indices;
}

QRect PaletteRemap::changedRect(const QImage& frame, const QImage& previous) {
    QRect changed;
    for (int y = 0; y < frame.height(); ++y) {
        const auto* a = reinterpret_cast<const quint32*>(frame.constScanLine(y));
        const auto* b = reinterpret_cast<const quint32*>(previous.constScanLine(y));
        if (std::equal(a, a + frame.width(), b)) {
            continue;
        }
        int left = 0;
        int right = frame.width() - 1;
        while (a[left] == b[left]) {
            ++left;
        }
        while (a[right] == b[right]) {
            --right;
        }
        changed |= QRect(left, y, right - left + 1, 1);
    }
    return changed;
}

} // namespace vellumix
