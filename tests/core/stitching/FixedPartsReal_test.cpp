#include "stitching/ScrollStitcher.h"

#include "support/ScrollPage.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace vellumix {
namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 300;
constexpr int kPage = 1500;

// What stays put over a page on real screens: a sidebar of a few links over
// an empty column, at the top or 30 rows down the page, where it scrolls
// with it until it sticks to the top; a band of a line of links over blank
// rows; a browser's scrollbar, whose thumb moves with every scroll; a caret
// in the band, shown in every other frame; a round button too small to spoil
// a seam, shown once the page has scrolled.
enum Part { sidebar = 1, stickySidebar = 2, band = 4, scrollbar = 8, caret = 16, badge = 32 };

void paint(QPainter& p, int parts, int top, int index) {
    if (parts & (sidebar | stickySidebar)) {
        const int y = parts & stickySidebar ? std::max(0, 30 - top) : 0;
        p.fillRect(0, y, 64, kHeight, QColor(243, 243, 243));
        p.fillRect(8, y + 12, 40, 50, QColor(40, 60, 140));
    }
    if (parts & band) {
        p.fillRect(0, 0, kWidth, 40, Qt::white);
        p.fillRect(10, 6, 120, 8, QColor(40, 60, 140));
        p.fillRect(206, 7, parts & caret && index % 2 ? 1 : 0, 14, Qt::black);
    }
    if (parts & scrollbar) {
        p.fillRect(kWidth - 5, 0, 5, kHeight, QColor(241, 241, 241));
        p.fillRect(kWidth - 4, top * 240 / (kPage - kHeight), 3, 60, QColor(193, 193, 193));
    }
    if (parts & badge && top >= 100) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(51, 103, 145));
        p.drawEllipse(kWidth - 30, kHeight - 30, 16, 16);
        p.fillRect(kWidth - 23, kHeight - 26, 2, 9, Qt::white);
    }
}

struct Shape {
    const char* name;
    int parts;
    // Where the page scrolls; the document's rows below it are the badge's.
    QRect column;
    // The frame that matches neither the page nor what stayed put; -1 for none.
    int refused = -1;
};

// Frames scrolled by 70 rows each add exactly the rows scrolled, and the
// document's scrolled column is the page's.
void capture(const testing::ScrollPage& page, const Shape& shape) {
    ScrollStitcher stitcher;
    for (int top = 0, index = 0; top + kHeight <= kPage; top += 70, ++index) {
        QImage frame = page.frame(top, kHeight);
        QPainter painter(&frame);
        paint(painter, shape.parts, top, index);
        painter.end();
        const ProcessingResult result = stitcher.accept(frame);
        ASSERT_EQ(result.paused, index == shape.refused) << top;
        ASSERT_TRUE(result.paused || result.height == kHeight + top) << top;
    }
    const QRect column = shape.column.adjusted(0, 0, 0, int(stitcher.image().height()) - kHeight);
    const QImage document = stitcher.image().convertToFormat(QImage::Format_RGB32).copy(column);
    const QImage truth = page.image().copy(column);
    ASSERT_EQ(document.size(), truth.size());
    EXPECT_EQ(std::memcmp(document.constBits(), truth.constBits(), size_t(truth.sizeInBytes())), 0);
}

TEST(FixedPartsReal, framesWithPartsFoundOnRealPagesAreAppendedAtTheirTrueSeam) {
    const Shape shapes[] = {
        {"mostly blank sidebar", sidebar, {72, 0, 328, kHeight}},
        {"band beside a scrollbar", band | scrollbar, {0, 40, 395, 260}},
        {"band with a caret", band | caret, {0, 40, kWidth, 260}},
        {"sidebar that sticks", stickySidebar, {72, 0, 328, kHeight}, 1},
        {"badge below a band", band | badge, {0, 40, kWidth, 228}},
    };
    const testing::ScrollPage page({kWidth, kPage, 19});
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(shape.name);
        capture(page, shape);
    }
}

} // namespace
} // namespace vellumix
