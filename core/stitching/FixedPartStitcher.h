#pragma once

#include "stitching/FixedParts.h"
#include "stitching/IncrementalPreview.h"
#include "stitching/LongDocument.h"

#include <QImage>

#include <cstdint>

namespace vellumix {

// Builds the document of a page with parts that stay put on screen so that
// it reads as the page does: a sticky header once at the top (it came with
// the first frame; later frames only add rows below it), the scrolled
// content in order, and a sticky footer once at the bottom. The footer rows
// of the latest frame are held back, not appended, and put below the content
// only when the document is read, so they never repeat. Side columns are
// dealt with by SideColumns.
class FixedPartStitcher final {
public:
    // Rows at the bottom of the latest frame that are not in the document.
    int64_t heldRows() const { return m_heldRows; }
    // Whether the latest frame was added through append() below.
    bool active() const { return m_active; }

    // Adds what `frame` brings when the content scrolled `rows` rows since
    // `previous`, the latest frame added, and `parts` stayed put. Rows of the
    // document that now show to be part of a footer are taken back. The
    // document and the preview change together or not at all; throws
    // DocumentError, also when the held rows would not fit in the limits.
    void append(LongDocument& document, IncrementalPreview& preview, const QImage& previous,
                const QImage& frame, int64_t rows, const FixedParts& parts, int64_t signatureWidth);

    // The latest frame was added whole or by its bottom rows, as always.
    void appendedPlainly() { m_active = false; }

    // The document with the held rows of `latest` below it.
    LongDocument finished(const LongDocument& document, const QImage& latest) const;
    // The preview of finished().
    QImage finishedPreview(const IncrementalPreview& preview, const QImage& latest) const;

private:
    int64_t m_heldRows = 0;
    bool m_active = false;
};

} // namespace vellumix
