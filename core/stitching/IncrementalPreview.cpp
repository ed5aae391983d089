#include "stitching/IncrementalPreview.h"

#include "imaging/DocumentError.h"
#include "imaging/OutputBitmap.h"

#include <cmath>
#include <cstring>

namespace vellumix {

namespace {

constexpr int kChannels = 4;
constexpr QImage::Format kFormat = QImage::Format_RGBA8888_Premultiplied;

} // namespace

IncrementalPreview::IncrementalPreview(int maximumWidth) : m_maximumWidth(maximumWidth) {}

void IncrementalPreview::start(int64_t sourceWidth) {
    const int64_t targetWidth = std::min<int64_t>(m_maximumWidth, sourceWidth);
    std::vector<AreaSpan> columns = areaSpans(sourceWidth, targetWidth);
    m_rowSums.assign(static_cast<size_t>((targetWidth + 1) * kChannels), 0);
    m_pending.assign(static_cast<size_t>(targetWidth * kChannels), 0);
    m_columns = std::move(columns);
    m_sourceWidth = sourceWidth;
    m_targetWidth = targetWidth;
}

// Capacity grows geometrically so that copying the finished rows into a
// larger canvas costs a constant amount per append on average.
void IncrementalPreview::reserveRows(int64_t rows) {
    if (!m_canvas.isNull() && m_canvas.height() >= rows) {
        return;
    }
    const int64_t capacity = std::max<int64_t>({rows, 2 * int64_t(m_canvas.height()), 64});
    QImage canvas = outputBitmap(QSize(int(m_targetWidth), int(capacity)));
    if (!m_canvas.isNull()) {
        std::memcpy(canvas.bits(), m_canvas.constBits(),
                    static_cast<size_t>(m_completeRows * m_canvas.bytesPerLine()));
    }
    m_canvas = std::move(canvas);
}

void IncrementalPreview::append(const QImage& frame, int64_t rows) {
    if (frame.isNull() || rows < 1 || rows > frame.height() ||
        (m_sourceWidth > 0 && frame.width() != m_sourceWidth)) {
        throw DocumentError(DocumentError::Kind::invalidFrame);
    }
    // Only the new rows are converted, read in place; a frame already in the
    // preview's format is not copied at all.
    QImage view(frame.constScanLine(static_cast<int>(frame.height() - rows)), frame.width(),
                static_cast<int>(rows), frame.bytesPerLine(), frame.format());
    if (frame.colorCount() > 0) {
        view.setColorTable(frame.colorTable());
    }
    const QImage strip = view.convertToFormat(kFormat);
    if (strip.isNull()) {
        throw DocumentError(DocumentError::Kind::render);
    }
    if (m_sourceWidth == 0) {
        start(frame.width());
    }
    // Allocate everything first: once rows are being added nothing may fail.
    try {
        reserveRows((m_sourceHeight + rows) * m_targetWidth / m_sourceWidth + 1);
    } catch (const DocumentError&) {
        if (m_sourceHeight == 0) {
            m_sourceWidth = 0;
        }
        throw;
    }
    for (int64_t r = 0; r < rows; ++r) {
        addRow(strip.constScanLine(static_cast<int>(r)));
    }
}

// Document row i covers [i * tw, (i + 1) * tw) and preview row j covers
// [j * W, (j + 1) * W) on one integer scale (tw the preview width, W the
// document width), so a document row feeds one preview row or, across a
// boundary, two; a complete preview row has weight W * W.
void IncrementalPreview::addRow(const uchar* pixels) {
    std::fill(m_rowSums.begin(), m_rowSums.end(), 0);
    for (int64_t c = 0; c < m_sourceWidth; ++c) {
        const AreaSpan& span = m_columns[static_cast<size_t>(c)];
        uint64_t* first = m_rowSums.data() + span.first * kChannels;
        for (int ch = 0; ch < kChannels; ++ch) {
            const uint64_t value = pixels[c * kChannels + ch];
            first[ch] += value * span.weightFirst;
            first[kChannels + ch] += value * span.weightSecond;
        }
    }
    const AreaSpan span = areaSpan(m_sourceHeight, m_sourceWidth, m_targetWidth);
    for (size_t i = 0; i < m_pending.size(); ++i) {
        m_pending[i] += m_rowSums[i] * span.weightFirst;
    }
    m_pendingWeight += span.weightFirst;
    if (m_pendingWeight == static_cast<uint64_t>(m_sourceWidth)) {
        writePending(m_canvas.scanLine(static_cast<int>(m_completeRows)));
        ++m_completeRows;
        for (size_t i = 0; i < m_pending.size(); ++i) {
            m_pending[i] = m_rowSums[i] * span.weightSecond;
        }
        m_pendingWeight = span.weightSecond;
    }
    ++m_sourceHeight;
}

void IncrementalPreview::writePending(uchar* row) const {
    const uint64_t divisor = m_pendingWeight * static_cast<uint64_t>(m_sourceWidth);
    for (size_t i = 0; i < m_pending.size(); ++i) {
        row[i] = static_cast<uchar>((m_pending[i] + divisor / 2) / divisor);
    }
}

QImage IncrementalPreview::image() const {
    if (m_sourceWidth == 0) {
        return {};
    }
    // The height formula of the assembled document, including its rounding
    // in double precision, so both agree to the row.
    const double scale = double(m_targetWidth) / double(m_sourceWidth);
    const int64_t height = std::max<int64_t>(1, int64_t(std::ceil(scale * double(m_sourceHeight))));
    QImage image = outputBitmap(QSize(int(m_targetWidth), int(height)));
    const int64_t complete = std::min(m_completeRows, height);
    std::memcpy(image.bits(), m_canvas.constBits(),
                static_cast<size_t>(complete * image.bytesPerLine()));
    if (m_pendingWeight > 0 && complete < height) {
        writePending(image.scanLine(static_cast<int>(complete)));
    }
    return image;
}

} // namespace vellumix
