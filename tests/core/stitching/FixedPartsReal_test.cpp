#include "stitching/ScrollStitcher.h"

#include "support/ScrollPage.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace vellumix {
namespace {

using testing::ScrollPage;

constexpr int kWidth = 400;
constexpr int kFrameHeight = 300;
constexpr int kPageHeight = 1500;
constexpr int kStep = 70;
constexpr int kBand = 40;
constexpr int kSidebar = 64;
constexpr int kScrollbar = 5;

// Paints what stays put over the page in the frame scrolled to `top`, the
// `index`th of the capture.
using Paint = std::function<void(QPainter&, int top, int index)>;

void words(QPainter& painter, int left, int top, int count) {
    for (int i = 0; i < count; ++i) {
        painter.fillRect(left + i * 34, top, 26, 8, QColor(40, 60, 140));
    }
}

// A browser's scrollbar: its thumb moves down a little with every scroll.
void scrollbar(QPainter& painter, int top) {
    painter.fillRect(kWidth - kScrollbar, 0, kScrollbar, kFrameHeight, QColor(241, 241, 241));
    const int thumb = top * (kFrameHeight - 60) / (kPageHeight - kFrameHeight);
    painter.fillRect(kWidth - kScrollbar + 1, thumb, kScrollbar - 2, 60, QColor(193, 193, 193));
}

// A band of one line of links over blank rows and a rule.
void band(QPainter& painter) {
    painter.fillRect(0, 0, kWidth, kBand, Qt::white);
    words(painter, 10, 6, 4);
    painter.fillRect(0, kBand - 1, kWidth, 1, QColor(187, 187, 187));
}

void sidebar(QPainter& painter, int top) {
    painter.fillRect(0, top, kSidebar, kFrameHeight, QColor(243, 243, 243));
    for (int i = 0; i < 4; ++i) {
        painter.fillRect(8, top + 12 + i * 14, 40 - i * 6, 8, QColor(40, 60, 140));
    }
}

// A round button with an arrow in the lower right corner, as small as
// those on real pages, which shows once the page has scrolled.
void badge(QPainter& painter, int top) {
    if (top < 100) {
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(51, 103, 145));
    painter.drawEllipse(kWidth - 30, kFrameHeight - 30, 16, 16);
    painter.fillRect(kWidth - 23, kFrameHeight - 26, 2, 9, Qt::white);
}

struct Shape {
    const char* name;
    Paint paint;
    // Where the page scrolls in the frames; the rest stays put. The
    // document's last rows below it are what stays put at the bottom.
    QRect column;
    // The one frame that is refused, as neither the page nor what is beside
    // it stayed put; -1 for none.
    int refused = -1;
};

const Shape kShapes[] = {
    // A sidebar of a few links over an empty column.
    {"mostly blank sidebar", [](QPainter& p, int, int) { sidebar(p, 0); },
     QRect(kSidebar + 8, 0, kWidth - kSidebar - 8, kFrameHeight)},
    // The band's rows beside the scrollbar change as its thumb moves.
    {"band with blank lower rows beside a scrollbar",
     [](QPainter& p, int top, int) {
         band(p);
         scrollbar(p, top);
     },
     QRect(0, kBand, kWidth - kScrollbar, kFrameHeight - kBand)},
    // A search field in the band, its caret shown in every other frame.
    {"band that differs a little in every frame",
     [](QPainter& p, int, int index) {
         band(p);
         p.fillRect(200, 4, 120, 20, QColor(250, 250, 250));
         if (index % 2 == 1) {
             p.fillRect(206, 7, 1, 14, Qt::black);
         }
     },
     QRect(0, kBand, kWidth, kFrameHeight - kBand)},
    // A sticky sidebar 30 rows down the page scrolls with it until it
    // reaches the top, and stays there from the second frame on: that frame
    // matches neither, the next matches the first beside it.
    {"sidebar that sticks after the first frame",
     [](QPainter& p, int top, int) { sidebar(p, std::max(0, 30 - top)); },
     QRect(kSidebar + 8, 0, kWidth - kSidebar - 8, kFrameHeight), 1},
    // Too small to spoil a seam, the badge is in the document once, at the
    // bottom.
    {"badge that shows after the first frames below a band",
     [](QPainter& p, int top, int) {
         band(p);
         badge(p, top);
     },
     QRect(0, kBand, kWidth, kFrameHeight - kBand - 32)},
};

// The first row in which two images of one size differ; -1 when none does.
int firstRowOff(const QImage& a, const QImage& b) {
    for (int y = 0; y < a.height(); ++y) {
        if (std::memcmp(a.constScanLine(y), b.constScanLine(y), size_t(a.bytesPerLine())) != 0) {
            return y;
        }
    }
    return -1;
}

// Scrolls the page by kStep a frame under `shape`: every frame adds exactly
// the rows it scrolled, and the document's scrolled column is the page's.
void capture(const ScrollPage& page, const Shape& shape) {
    ScrollStitcher stitcher;
    int index = 0;
    for (int top = 0; top + kFrameHeight <= kPageHeight; top += kStep, ++index) {
        QImage frame = page.frame(top, kFrameHeight);
        QPainter painter(&frame);
        shape.paint(painter, top, index);
        painter.end();
        const ProcessingResult result = stitcher.accept(frame);
        ASSERT_EQ(result.paused, index == shape.refused)
            << "at " << top << ": " << result.message.toStdString();
        if (!result.paused) {
            ASSERT_EQ(result.height, kFrameHeight + top);
        }
    }
    const QImage document = stitcher.image().convertToFormat(QImage::Format_RGB32);
    const QRect column(shape.column.left(), shape.column.top(), shape.column.width(),
                       document.height() - kFrameHeight + shape.column.bottom() + 1 -
                           shape.column.top());
    EXPECT_EQ(firstRowOff(document.copy(column), page.image().copy(column)), -1);
}

TEST(FixedPartsReal, framesWithPartsFoundOnRealPagesAreAppendedAtTheirTrueSeam) {
    const ScrollPage page({kWidth, kPageHeight, 19});
    for (const Shape& shape : kShapes) {
        SCOPED_TRACE(shape.name);
        capture(page, shape);
    }
}

} // namespace
} // namespace vellumix
