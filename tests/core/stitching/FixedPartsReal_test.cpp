#include "stitching/ScrollStitcher.h"

#include "support/ScrollPage.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <cstring>

namespace vellumix {
namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 300;
constexpr int kPage = 1500;

// What stays put over a page on real screens, drawn into every frame.
struct Shape {
    const char* name;
    // A sidebar of a few links over an empty column, this many rows down the
    // page: it scrolls with it until it sticks to the top. -1 for none.
    int sidebarAt;
    // A band of a line of links over blank rows.
    bool band;
    // A browser's scrollbar beside it: the thumb moves with every scroll.
    bool scrollbar;
    // A blinking caret in the band, shown in every other frame.
    bool caret;
    // A round button too small to spoil a seam, shown once the page scrolled.
    bool badge;
    // Where the page scrolls; the document's rows below it are the badge's.
    QRect column;
    // The frame that matches neither the page nor what stayed put; -1 for none.
    int refused = -1;
};

void paint(QPainter& p, const Shape& s, int top, int index) {
    if (s.sidebarAt >= 0) {
        const int y = std::max(0, s.sidebarAt - top);
        p.fillRect(0, y, 64, kHeight, QColor(243, 243, 243));
        p.fillRect(8, y + 12, 40, 50, QColor(40, 60, 140));
    }
    if (s.band) {
        p.fillRect(0, 0, kWidth, 40, Qt::white);
        p.fillRect(10, 6, 120, 8, QColor(40, 60, 140));
        p.fillRect(206, 7, s.caret && index % 2 ? 1 : 0, 14, Qt::black);
    }
    if (s.scrollbar) {
        p.fillRect(kWidth - 5, 0, 5, kHeight, QColor(241, 241, 241));
        p.fillRect(kWidth - 4, top * 240 / (kPage - kHeight), 3, 60, QColor(193, 193, 193));
    }
    if (s.badge && top >= 100) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(51, 103, 145));
        p.drawEllipse(kWidth - 30, kHeight - 30, 16, 16);
        p.fillRect(kWidth - 23, kHeight - 26, 2, 9, Qt::white);
    }
}

// Frames scrolled by 70 rows each add exactly the rows scrolled, and the
// document's scrolled column is the page's.
void capture(const testing::ScrollPage& page, const Shape& shape) {
    ScrollStitcher stitcher;
    for (int top = 0, index = 0; top + kHeight <= kPage; top += 70, ++index) {
        QImage frame = page.frame(top, kHeight);
        QPainter painter(&frame);
        paint(painter, shape, top, index);
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
        {"mostly blank sidebar", 0, false, false, false, false, {72, 0, 328, kHeight}},
        {"band beside a scrollbar", -1, true, true, false, false, {0, 40, 395, 260}},
        {"band with a caret", -1, true, false, true, false, {0, 40, kWidth, 260}},
        {"sidebar that sticks", 30, false, false, false, false, {72, 0, 328, kHeight}, 1},
        {"badge below a band", -1, true, false, false, true, {0, 40, kWidth, 228}},
    };
    const testing::ScrollPage page({kWidth, kPage, 19});
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(shape.name);
        capture(page, shape);
    }
}

} // namespace
} // namespace vellumix
