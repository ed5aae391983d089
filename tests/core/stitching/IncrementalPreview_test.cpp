#include "stitching/IncrementalPreview.h"
#include "stitching/LongDocument.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace vellumix {
namespace {

// Smooth colour with some grain, in the layout screen grabs come in.
QImage sample(int width, int height, unsigned seed) {
    std::mt19937 rng(seed);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int grain = std::uniform_int_distribution<int>(0, 40)(rng);
            line[x] = qRgb((x * 7 + grain) % 256, (y * 3) % 256, (x + y + grain) % 256);
        }
    }
    return image;
}

// Feeds `image` in strips of the given heights, each as the bottom of a frame.
IncrementalPreview inStrips(const QImage& image, std::initializer_list<int> heights) {
    IncrementalPreview preview(600);
    int top = 0;
    for (int rows : heights) {
        const int frameHeight = std::max(rows, 300);
        const QImage frame = image.copy(0, top + rows - frameHeight, image.width(), frameHeight);
        preview.append(frame, rows);
        top += rows;
    }
    return preview;
}

// The mean difference of the bytes of two images of one size and format.
double meanDifference(const QImage& a, const QImage& b) {
    int64_t difference = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.bytesPerLine(); ++x) {
            difference += std::abs(a.constScanLine(y)[x] - b.constScanLine(y)[x]);
        }
    }
    return double(difference) / double(a.sizeInBytes());
}

TEST(IncrementalPreview, hasTheSizeAndNearlyThePixelsOfTheAssembledDocument) {
    // 723 x 1205 is where 600 / 723 * 1205 in double precision lands just
    // above 1000; both must round it the same way.
    for (const QSize size : {QSize(900, 400), QSize(1200, 1001), QSize(723, 1205), QSize(400, 700),
                             QSize(3200, 1000)}) {
        const QImage image = sample(size.width(), size.height(), 1);
        LongDocument document;
        document.append(image);
        IncrementalPreview preview(600);
        preview.append(image, size.height());
        const QImage assembled = document.image(600);
        ASSERT_EQ(preview.image().size(), assembled.size()) << size.width();
        EXPECT_LT(meanDifference(preview.image(), assembled), 8.0) << size.width();
    }
}

// A frame of another width, or fewer rows than it is to add, is refused and
// changes nothing: the strips would differ from the whole.
TEST(IncrementalPreview, stripBoundariesLeaveNoTraceAndBadFramesNothing) {
    const QImage image = sample(1000, 1200, 2);
    IncrementalPreview whole(600);
    whole.append(image, 1200);
    EXPECT_THROW(whole.append(sample(1001, 300, 5), 10), DocumentError);
    EXPECT_THROW(whole.append(sample(1000, 300, 5), 301), DocumentError);
    const IncrementalPreview strips = inStrips(image, {300, 7, 1, 150, 299, 3, 240, 200});
    EXPECT_EQ(strips.image(), whole.image());
    // Frames already in the preview's own layout are read in place.
    const QImage premultiplied = image.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    EXPECT_EQ(inStrips(premultiplied, {300, 7, 1, 150, 299, 3, 240, 200}).image(), whole.image());
}

TEST(IncrementalPreview, averagesTheAreaEachPixelCovers) {
    // 1200 x 3: a black row, a white row, a black row; preview 600 x 2.
    QImage image(1200, 3, QImage::Format_RGB32);
    image.fill(Qt::black);
    std::fill_n(reinterpret_cast<QRgb*>(image.scanLine(1)), 1200, qRgb(255, 255, 255));
    IncrementalPreview preview(600);
    preview.append(image, 3);
    const QImage result = preview.image();
    ASSERT_EQ(result.size(), QSize(600, 2));
    // Row 0 averages rows 0 and 1; row 1 covers only row 2 so far (rows
    // completed by later strips are the strip test's).
    EXPECT_EQ(result.pixel(17, 0), qRgb(128, 128, 128));
    EXPECT_EQ(result.pixel(17, 1), qRgb(0, 0, 0));
}

} // namespace
} // namespace vellumix
