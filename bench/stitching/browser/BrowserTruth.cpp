#include "BrowserTruth.h"

#include "imaging/DocumentError.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace vellumix {

namespace {

// Mean difference of two rows' channels over [left, right) pixels; frames
// come from one grab, 32 bits a pixel.
double rowDifference(const QImage& a, int rowA, const QImage& b, int rowB, int left, int right) {
    const uchar* pa = a.constScanLine(rowA) + left * 4;
    const uchar* pb = b.constScanLine(rowB) + left * 4;
    int64_t sum = 0;
    for (int i = 0; i < (right - left) * 4; ++i) {
        sum += std::abs(int(pa[i]) - int(pb[i]));
    }
    return double(sum) / double(std::max(1, (right - left) * 4));
}

} // namespace

void BrowserTruth::accept(const QImage& frame, int top) {
    const int firstTop = m_frames.empty() ? top : m_frames.front().first;
    if (!m_frames.empty() && top != m_frames.back().first) {
        ++m_moved;
    }
    m_frames.emplace_back(top, frame);
    ProcessingResult result;
    try {
        result = m_stitcher.accept(frame);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: frame %zu failed: %s\n", qPrintable(m_name), m_frames.size() - 1,
                     e.what());
        return;
    }
    const bool added = !result.paused && result.height != m_height;
    if (added && m_frames.size() > 1) {
        ++m_appended;
        if (result.height != frame.height() + top - firstTop) {
            ++m_wrongSeams;
            std::fprintf(stderr, "%s: WRONG SEAM at frame %zu, scroll %d: %lld rows, not %d\n",
                         qPrintable(m_name), m_frames.size() - 1, top,
                         static_cast<long long>(result.height), frame.height() + top - firstTop);
        }
    } else if (result.paused) {
        std::fprintf(stderr, "%s: frame %zu at scroll %d refused: %s\n", qPrintable(m_name),
                     m_frames.size() - 1, top, qPrintable(result.message));
    }
    m_height = result.height;
}

// The last frame whose scrolled column shows page row `pageRow`, and the row
// it shows it in.
const QImage* BrowserTruth::frameShowing(int pageRow, int& frameRow) const {
    for (auto it = m_frames.rbegin(); it != m_frames.rend(); ++it) {
        frameRow = pageRow - it->first;
        if (frameRow >= m_column.top() && frameRow <= m_column.bottom()) {
            return &it->second;
        }
    }
    return nullptr;
}

int BrowserTruth::rowsOffThePage() const {
    if (m_frames.empty()) {
        return 0;
    }
    const QImage document = m_stitcher.image().convertToFormat(m_frames.front().second.format());
    int off = 0;
    for (int d = 0; d < document.height(); ++d) {
        int frameRow = 0;
        const QImage* frame = frameShowing(d + m_frames.front().first, frameRow);
        // Re-rasterised text differs by a level or two; a wrong row by far more.
        if (frame && rowDifference(document, d, *frame, frameRow, m_column.left(),
                                   m_column.right() + 1) > 3.0) {
            ++off;
            std::fprintf(stderr, "%s: document row %d is not page row %d\n", qPrintable(m_name), d,
                         d + m_frames.front().first);
        }
    }
    return off;
}

int BrowserTruth::sideRowsNotBlank() const {
    if (m_frames.empty()) {
        return 0;
    }
    const QImage document = m_stitcher.image().convertToFormat(QImage::Format_RGB32);
    const int firstScreen = m_frames.front().second.height();
    int notBlank = 0;
    for (int d = firstScreen + 1; d < document.height(); ++d) {
        const auto* row = reinterpret_cast<const uint32_t*>(document.constScanLine(d));
        const auto* above = reinterpret_cast<const uint32_t*>(document.constScanLine(d - 1));
        const bool slice = !std::equal(row, row + m_column.left(), above) ||
                           !std::equal(row + m_column.right() + 1, row + document.width(),
                                       above + m_column.right() + 1);
        notBlank += slice;
        if (slice) {
            std::fprintf(stderr, "%s: document row %d shows a slice of a sidebar\n",
                         qPrintable(m_name), d);
        }
    }
    return notBlank;
}

} // namespace vellumix
