#pragma once

#include "stitching/FixedParts.h"

#include <QImage>

#include <cstdint>

namespace vellumix {

// What a frame adds to the document of a page with parts that stay put on
// screen, so that the document reads as the page does: a sticky header once
// at the top (it came with the first frame; later frames only add rows below
// it), the scrolled content in order, and a sticky footer once at the
// bottom. The footer rows of the latest frame are held back, not appended,
// and put below the content only when the document is read, so they never
// repeat. Side columns are dealt with by SideColumns.
struct FixedPartStrip {
    // Its bottom `rows` rows go below the document.
    QImage image;
    int64_t rows = 0;
    // Rows at the bottom of the document that now show to be part of a
    // footer; they are taken back before the strip goes in.
    int64_t cut = 0;
    // The footer rows at the bottom of the frame, held back.
    int64_t held = 0;

    // The strip `frame` brings when the content scrolled `scrolled` rows
    // since `previous`, the latest frame added (its bottom `heldRows` rows
    // held back), and `parts` stayed put. Throws DocumentError(invalidFrame)
    // when those rows are not in the frame.
    static FixedPartStrip make(const QImage& previous, const QImage& frame, int64_t scrolled,
                               const FixedParts& parts, int64_t heldRows, int64_t signatureWidth);
};

} // namespace vellumix
