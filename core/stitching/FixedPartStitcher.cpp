#include "stitching/FixedPartStitcher.h"

#include "imaging/DocumentError.h"
#include "stitching/SideColumns.h"

#include <QColorSpace>

#include <algorithm>

namespace vellumix {

namespace {

// The first `rows` rows of `frame`, read in place.
QImage topRows(const QImage& frame, int64_t rows) {
    QImage view(frame.constBits(), frame.width(), int(rows), frame.bytesPerLine(), frame.format());
    if (frame.colorCount() > 0) {
        view.setColorTable(frame.colorTable());
    }
    view.setColorSpace(frame.colorSpace());
    return view;
}

// The held rows count towards the limits now, so that the document can
// always be finished.
void checkRoom(int64_t width, int64_t height) {
    if (height > LongDocument::maximumHeight || width * height > LongDocument::maximumPixels) {
        throw DocumentError(DocumentError::Kind::limit);
    }
}

} // namespace

void FixedPartStitcher::append(LongDocument& document, IncrementalPreview& preview,
                               const QImage& previous, const QImage& frame, int64_t rows,
                               const FixedParts& parts, int64_t signatureWidth) {
    const int64_t h = frame.height();
    const int64_t band = parts.bottom;
    // The document ends where the held rows of `previous` begin; the content
    // has carried that row `rows` rows up in `frame`.
    const int64_t start = h - std::max(band, m_heldRows) - rows;
    const int64_t end = h - band;
    const int64_t cut = std::max<int64_t>(0, band - m_heldRows);
    if (start < 0 || start >= end) {
        throw DocumentError(DocumentError::Kind::invalidFrame);
    }
    checkRoom(frame.width(), document.height() - cut + (end - start) + band);
    QImage strip = topRows(frame, end);
    const SideColumns sides = SideColumns::find(previous, frame, parts, signatureWidth);
    if (sides.left() + sides.right() > 0) {
        strip = frame.copy(0, int(start), frame.width(), int(end - start));
        sides.fill(strip);
    }
    // Both grow or neither: the rows go into a copy of the document (its
    // strips are shared, not copied) that replaces it once the preview has
    // taken them too.
    if (cut == 0) {
        LongDocument longer = document;
        longer.append(strip, end - start);
        preview.append(strip, end - start);
        document = std::move(longer);
    } else {
        LongDocument shortened = document;
        shortened.removeBottomRows(cut);
        shortened.append(strip, end - start);
        IncrementalPreview rebuilt(preview.maximumWidth());
        shortened.forEachStrip([&](const QImage& each) { rebuilt.append(each, each.height()); });
        document = std::move(shortened);
        preview = std::move(rebuilt);
    }
    m_heldRows = band;
    m_active = true;
}

LongDocument FixedPartStitcher::finished(const LongDocument& document, const QImage& latest) const {
    if (m_heldRows == 0) {
        return document;
    }
    LongDocument whole = document;
    whole.append(latest, m_heldRows);
    return whole;
}

QImage FixedPartStitcher::finishedPreview(const IncrementalPreview& preview,
                                          const QImage& latest) const {
    if (m_heldRows == 0) {
        return preview.image();
    }
    IncrementalPreview whole = preview;
    whole.append(latest, m_heldRows);
    return whole.image();
}

} // namespace vellumix
