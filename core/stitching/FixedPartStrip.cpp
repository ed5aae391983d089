#include "stitching/FixedPartStrip.h"

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

} // namespace

FixedPartStrip FixedPartStrip::make(const QImage& previous, const QImage& frame, int64_t scrolled,
                                    const FixedParts& parts, int64_t heldRows,
                                    int64_t signatureWidth) {
    const int64_t h = frame.height();
    const int64_t band = parts.bottom;
    // The document ends where the held rows of `previous` begin; the content
    // has carried that row `scrolled` rows up in `frame`.
    const int64_t start = h - std::max(band, heldRows) - scrolled;
    const int64_t end = h - band;
    if (start < 0 || start >= end) {
        throw DocumentError(DocumentError::Kind::invalidFrame);
    }
    FixedPartStrip strip{topRows(frame, end), end - start, std::max<int64_t>(0, band - heldRows),
                         band};
    const SideColumns sides = SideColumns::find(previous, frame, parts, signatureWidth);
    if (sides.left() + sides.right() > 0) {
        strip.image = frame.copy(0, int(start), frame.width(), int(end - start));
        sides.fill(strip.image);
    }
    return strip;
}

} // namespace vellumix
