#pragma once

#include "stitching/AreaSpans.h"

#include <QImage>

#include <cstdint>
#include <vector>

namespace vellumix {

// A downscaled picture of a growing document that is extended strip by strip,
// so that adding rows costs the same however tall the document already is.
//
// Its size is what LongDocument::image(maximumWidth) gives for the same rows.
// Its pixels are an exact area average of the document: each preview pixel
// averages the document pixels it covers, carried across strip boundaries,
// so it may differ slightly from the assembled picture, whose filter is the
// drawing library's and is applied to each strip on its own.
class IncrementalPreview final {
public:
    explicit IncrementalPreview(int maximumWidth);

    // Adds the bottom `rows` rows of `frame` below the rows already added.
    // Every frame must have the width of the first. Throws
    // DocumentError(render) when memory runs out, leaving the preview as it
    // was.
    void append(const QImage& frame, int64_t rows);

    int maximumWidth() const { return m_maximumWidth; }

    // The preview so far; a null image before the first append.
    QImage image() const;

private:
    void start(int64_t sourceWidth);
    void reserveRows(int64_t rows);
    void addRow(const uchar* pixels);
    void writePending(uchar* row) const;

    int m_maximumWidth;
    int64_t m_sourceWidth = 0;
    int64_t m_targetWidth = 0;
    int64_t m_sourceHeight = 0;
    std::vector<AreaSpan> m_columns;
    std::vector<uint64_t> m_rowSums;
    // Weighted channel sums of the preview row still being filled, and how
    // much of its height (in units where a full row is m_sourceWidth) is in.
    std::vector<uint64_t> m_pending;
    uint64_t m_pendingWeight = 0;
    int64_t m_completeRows = 0;
    // Rows beyond m_completeRows are spare capacity, so that growing the
    // canvas is amortised over many appends.
    QImage m_canvas;
};

} // namespace vellumix
