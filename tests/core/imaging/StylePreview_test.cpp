#include "imaging/StylePreview.h"

#include "fakes/GuiTestApp.h"
#include "imaging/EditedImage.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace vellumix;

namespace {

bool near(QRgb actual, QRgb expected) {
    return std::abs(qRed(actual) - qRed(expected)) <= 2 &&
           std::abs(qGreen(actual) - qGreen(expected)) <= 2 &&
           std::abs(qBlue(actual) - qBlue(expected)) <= 2 && qAlpha(actual) == 255;
}

} // namespace

// The demonstration marks are shown over the page, not drawn into it, and
// change the page only where they lie.
TEST(StylePreview, theMarksLieOverThePageNotInIt) {
    const StylePreview::Sample sample = StylePreview::make();
    const QImage& page = sample.picture;
    ASSERT_EQ(page.size(), QSize(StylePreview::width, StylePreview::height));
    EXPECT_EQ(page.format(), QImage::Format_RGBA8888_Premultiplied);
    const QImage marked = EditedImage::render(page, sample.marks);
    for (QPoint point : {QPoint(0, 0), QPoint(959, 539), QPoint(770, 200)}) {
        EXPECT_TRUE(near(page.pixel(point), qRgb(242, 245, 250))) << point.x();
    }
    EXPECT_TRUE(near(marked.pixel(770, 200), qRgb(61, 94, 227)));
    EXPECT_EQ(marked.pixel(900, 40), page.pixel(900, 40));
    EXPECT_EQ(marked.pixel(450, 465), page.pixel(450, 465));
}
