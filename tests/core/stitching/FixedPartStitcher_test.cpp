#include "stitching/FixedPartStitcher.h"
#include "stitching/IncrementalPreview.h"
#include "stitching/LongDocument.h"

#include <gtest/gtest.h>

namespace vellumix {
namespace {

// A preview that refuses the rows (here one begun with frames of another
// width) leaves the document without them too: the two never disagree.
TEST(FixedPartStitcher, aRefusedPreviewLeavesTheDocumentUnchanged) {
    QImage narrow(50, 40, QImage::Format_RGB32);
    narrow.fill(Qt::gray);
    IncrementalPreview preview(600);
    preview.append(narrow, 40);
    QImage previous(100, 120, QImage::Format_RGB32);
    previous.fill(Qt::white);
    QImage frame = previous;
    frame.fill(Qt::black);
    LongDocument document;
    FixedPartStitcher stitcher;
    EXPECT_THROW(stitcher.append(document, preview, previous, frame, 30, FixedParts{}, 64),
                 DocumentError);
    EXPECT_EQ(document.height(), 0);
    EXPECT_EQ(preview.image().height(), 40);
}

} // namespace
} // namespace vellumix
