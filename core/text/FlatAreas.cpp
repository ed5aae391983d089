#include "text/FlatAreas.h"

#include <algorithm>
#include <cstdlib>

namespace vellumix {

namespace {

bool near(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) <= FlatAreas::tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= FlatAreas::tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= FlatAreas::tolerance;
}

QRgb pixelAt(const QImage& image, int width, qsizetype index) {
    return reinterpret_cast<const QRgb*>(image.constScanLine(int(index / width)))[index % width];
}

} // namespace

FlatAreas::FlatAreas(const QImage& image)
    : m_width(image.width()), m_height(image.height()),
      m_label(size_t(m_width) * size_t(m_height), -1) {
    const size_t most = m_label.size() / maxAreasPerPixel;
    for (qsizetype i = 0; i < qsizetype(m_label.size()); ++i) {
        if (m_label[size_t(i)] < 0) {
            if (m_areas.size() > most) {
                m_label.clear();
                m_areas.clear();
                return;
            }
            fill(image, i);
        }
    }
    measureThickness();
}

void FlatAreas::fill(const QImage& image, qsizetype seed) {
    const int label = int(m_areas.size());
    const QRgb first = pixelAt(image, m_width, seed);
    qint64 sums[3] = {};
    int left = m_width, top = m_height, right = -1, bottom = -1;
    qint64 pixels = 0;
    std::vector<qsizetype> pending{seed};
    m_label[size_t(seed)] = label;
    while (!pending.empty()) {
        const qsizetype i = pending.back();
        pending.pop_back();
        const int x = int(i % m_width);
        const int y = int(i / m_width);
        const QRgb color = pixelAt(image, m_width, i);
        sums[0] += qRed(color);
        sums[1] += qGreen(color);
        sums[2] += qBlue(color);
        ++pixels;
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
        const bool inside[4] = {x > 0, x + 1 < m_width, y > 0, y + 1 < m_height};
        const qsizetype next[4] = {i - 1, i + 1, i - m_width, i + m_width};
        for (int n = 0; n < 4; ++n) {
            if (inside[n] && m_label[size_t(next[n])] < 0 &&
                near(pixelAt(image, m_width, next[n]), first)) {
                m_label[size_t(next[n])] = label;
                pending.push_back(next[n]);
            }
        }
    }
    FlatArea area;
    area.color = qRgb(int(sums[0] / pixels), int(sums[1] / pixels), int(sums[2] / pixels));
    area.pixels = pixels;
    area.bounds = QRect(QPoint(left, top), QPoint(right, bottom));
    m_areas.push_back(area);
}

bool FlatAreas::onEdge(int x, int y) const {
    const int label = m_label[size_t(y) * size_t(m_width) + size_t(x)];
    for (int ny = std::max(0, y - 1); ny <= std::min(m_height - 1, y + 1); ++ny) {
        for (int nx = std::max(0, x - 1); nx <= std::min(m_width - 1, x + 1); ++nx) {
            if (m_label[size_t(ny) * size_t(m_width) + size_t(nx)] != label) {
                return true;
            }
        }
    }
    return false;
}

// A chessboard distance transform inside each area: each pixel's distance to
// the nearest pixel of another area. The image's edge is no end, so a
// window's fill counts as thick however the screenshot crops it.
void FlatAreas::measureThickness() {
    std::vector<quint8> distance(m_label.size());
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            distance[size_t(y) * size_t(m_width) + size_t(x)] = onEdge(x, y) ? 0 : 255;
        }
    }
    // Two sweeps, each taking the neighbours it has already passed.
    for (const int step : {1, -1}) {
        for (int y = step > 0 ? 0 : m_height - 1; y >= 0 && y < m_height; y += step) {
            for (int x = step > 0 ? 0 : m_width - 1; x >= 0 && x < m_width; x += step) {
                quint8& here = distance[size_t(y) * size_t(m_width) + size_t(x)];
                const int passed[4][2] = {
                    {x - step, y}, {x - step, y - step}, {x, y - step}, {x + step, y - step}};
                for (const auto& [nx, ny] : passed) {
                    if (nx >= 0 && nx < m_width && ny >= 0 && ny < m_height) {
                        const int through = distance[size_t(ny) * size_t(m_width) + size_t(nx)] + 1;
                        here = quint8(std::min<int>(here, through));
                    }
                }
            }
        }
    }
    for (size_t i = 0; i < m_label.size(); ++i) {
        FlatArea& area = m_areas[size_t(m_label[i])];
        area.thickness = std::max<int>(area.thickness, distance[i]);
    }
}

} // namespace vellumix
