#pragma once

#include "stitching/FixedParts.h"

#include <QImage>

#include <cstdint>
#include <vector>

namespace vellumix {

// The columns at either side of two frames that are the same in both over
// their whole height, at full resolution: a sidebar that stays put while the
// page beside it scrolls. Rows appended below the first frame would show
// slices of the sidebar's lower part, one per frame, so its columns show its
// background there instead; the sidebar itself is in the document once, in
// the rows of the first frame.
class SideColumns final {
public:
    // `parts` gives the side columns in signature columns, `signatureWidth`
    // the signature's width. Frames of another format than 32 bits a pixel,
    // or of two formats, have no side columns.
    static SideColumns find(const QImage& previous, const QImage& next, const FixedParts& parts,
                            int64_t signatureWidth);

    int left() const { return m_left; }
    int right() const { return m_right; }

    // Paints, in `strip` (rows of the frame given to find(), same format),
    // the side columns that are not one colour from top to bottom with the
    // colour most of them show; columns of one colour (a margin) already show
    // what the page has there.
    void fill(QImage& strip) const;

private:
    int m_left = 0;
    int m_right = 0;
    // One flag per frame column: within a side column and not of one colour.
    std::vector<bool> m_varies;
};

} // namespace vellumix
