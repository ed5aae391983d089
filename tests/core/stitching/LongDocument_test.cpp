#include "stitching/LongDocument.h"

#include "core/imaging/ExpectError.h"
#include "imaging/PngCodec.h"

#include <QColorSpace>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace vellumix {
namespace {

using Kind = DocumentError::Kind;
using test::expectError;

// Every row gets its own colour, so a row of the assembled image tells which
// frame row it came from.
QRgb rowColour(int row) {
    return qRgba(row % 256, (row / 256) % 256, 0x5a, 0xff);
}

QImage labelledFrame(int width, int height, int firstRow = 0) {
    QImage frame(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        std::fill_n(reinterpret_cast<QRgb*>(frame.scanLine(y)), width, rowColour(firstRow + y));
    }
    return frame.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
}

// The document's images are tagged sRGB; the frames made here are untagged.
QImage inSRgb(QImage image) {
    image.setColorSpace(QColorSpace::SRgb);
    return image;
}

struct Snapshot {
    int64_t width, height, compressedBytes;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(const LongDocument& document) {
    return {document.width(), document.height(), document.compressedBytes()};
}

void expectRowsFromFrame(const QImage& image, int firstFrameRow) {
    for (int y = 0; y < image.height(); ++y) {
        ASSERT_EQ(image.pixelColor(image.width() - 1, y).rgba(), rowColour(firstFrameRow + y))
            << "row " << y;
    }
}

// The scroll-capture harness checks whole documents against their pages;
// here, what they are made of.
TEST(LongDocument, aFrameInAnotherColourSpaceIsStoredMatchedToSRGB) {
    QImage tagged = labelledFrame(800, 600);
    tagged.setColorSpace(QColorSpace::AdobeRgb);
    LongDocument document;
    document.append(tagged, 10);
    const QColor expected = tagged.convertedToColorSpace(QColorSpace::SRgb).pixelColor(5, 595);
    ASSERT_NE(expected, tagged.pixelColor(5, 595));
    const QImage assembled = document.image();
    EXPECT_EQ(assembled.format(), QImage::Format_RGBA8888_Premultiplied);
    EXPECT_EQ(assembled.colorSpace(), QColorSpace(QColorSpace::SRgb));
    EXPECT_EQ(assembled.pixelColor(5, 5), expected);
}

// An empty document cannot be assembled; a frame of no rows, too few or of
// another width, and a removal of no rows or of them all, change nothing.
TEST(LongDocument, badFramesChangeNothingAndRemovingBottomRowsCutsAcrossStrips) {
    LongDocument document;
    expectError(Kind::invalidFrame, [&] { document.image(); });
    const QImage first = labelledFrame(32, 50, 0);
    for (int64_t rows : {0, -1, 51}) {
        expectError(Kind::invalidFrame, [&] { document.append(first, rows); });
    }
    expectError(Kind::invalidFrame, [&] { document.append(QImage()); });
    EXPECT_EQ(snapshot(document), (Snapshot{0, 0, 0}));
    document.append(first);
    EXPECT_EQ(document.image(), inSRgb(first));
    document.append(labelledFrame(32, 30, 1000));
    document.append(labelledFrame(32, 10, 2000));
    const Snapshot before = snapshot(document);
    expectError(Kind::invalidFrame, [&] { document.append(labelledFrame(33, 30)); });
    expectError(Kind::invalidFrame, [&] { document.append(first, 0); });
    for (int64_t rows : {0, -1, 90, 91}) {
        expectError(Kind::invalidFrame, [&] { document.removeBottomRows(rows); });
    }
    EXPECT_EQ(snapshot(document), before);

    document.removeBottomRows(25);
    EXPECT_EQ(document.height(), 65);
    EXPECT_LT(document.compressedBytes(), before.compressedBytes);
    std::vector<int> heights;
    document.forEachStrip([&](const QImage& strip) { heights.push_back(strip.height()); });
    EXPECT_EQ(heights, (std::vector<int>{50, 15}));
    const QImage assembled = document.image();
    ASSERT_EQ(assembled.size(), QSize(32, 65));
    expectRowsFromFrame(assembled.copy(0, 0, 32, 50), 0);
    expectRowsFromFrame(assembled.copy(0, 50, 32, 15), 1000);
}

// The scroll stitcher's test appends past the height limit and on to it.
TEST(LongDocument, limitsOfSizeAndStorageAcceptExactlyTheirMaximum) {
    const std::tuple<int64_t, int64_t, bool> sizes[] = {{1, 30000, true},     {1, 30001, false},
                                                        {3000, 30000, true},  {3001, 29990, true},
                                                        {3001, 29991, false}, {30000, 3001, false}};
    for (const auto& [width, height, fits] : sizes) {
        EXPECT_EQ(LongDocument::fits(width, height), fits) << width << " x " << height;
    }
    // The storage limit is inclusive too.
    const QImage frame = labelledFrame(50, 20);
    const int64_t stripBytes = encodePng(frame).size();
    LongDocument exact(2 * stripBytes);
    exact.append(frame);
    exact.append(frame);
    EXPECT_EQ(exact.compressedBytes(), 2 * stripBytes);

    LongDocument over(2 * stripBytes - 1);
    over.append(frame);
    const Snapshot before = snapshot(over);
    expectError(Kind::storageLimit, [&] { over.append(frame); });
    EXPECT_EQ(snapshot(over), before);
    EXPECT_EQ(over.image(), inSRgb(frame));
}

TEST(LongDocument, maximumWidthScalesDownAndRoundsHeightUp) {
    LongDocument document;
    QImage flat(1200, 1001, QImage::Format_RGBA8888_Premultiplied);
    flat.fill(QColor(200, 210, 220));
    document.append(flat);
    EXPECT_EQ(document.image(600).size(), QSize(600, 501));
    EXPECT_EQ(document.image(2000).size(), QSize(1200, 1001));
    EXPECT_EQ(document.image(1).size(), QSize(1, 1));
    expectError(Kind::render, [&] { document.image(0); });
    const QImage preview = document.image(600);
    EXPECT_EQ(preview.pixelColor(300, 250), QColor(200, 210, 220));
    EXPECT_EQ(preview.pixelColor(599, 500), QColor(200, 210, 220));
}

} // namespace
} // namespace vellumix
