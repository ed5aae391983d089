#include "imaging/StylePreview.h"

#include "fakes/GuiTestApp.h"
#include "imaging/EditedImage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

using namespace vellumix;

namespace {

const QRgb pageBackground = qRgb(242, 245, 250);
const QRgb blue = qRgb(61, 94, 227);

bool near(QRgb actual, QRgb expected, int tolerance = 2) {
    return std::abs(qRed(actual) - qRed(expected)) <= tolerance &&
           std::abs(qGreen(actual) - qGreen(expected)) <= tolerance &&
           std::abs(qBlue(actual) - qBlue(expected)) <= tolerance && qAlpha(actual) == 255;
}

class StylePreviewTest : public ::testing::Test {
protected:
    // Drawn once: every test only looks at the same sample.
    static void SetUpTestSuite() {
        s_sample = std::make_unique<StylePreview::Sample>(StylePreview::make());
    }
    static void TearDownTestSuite() { s_sample.reset(); }

    static const QImage& picture() { return s_sample->picture; }
    static const QVector<ImageMark>& marks() { return s_sample->marks; }

private:
    static inline std::unique_ptr<StylePreview::Sample> s_sample;
};

} // namespace

TEST_F(StylePreviewTest, pictureIs960By540WithThePageBackgroundAtItsCorners) {
    ASSERT_EQ(picture().size(), QSize(960, 540));
    EXPECT_EQ(picture().format(), QImage::Format_RGBA8888_Premultiplied);
    EXPECT_EQ(picture().bytesPerLine(), 3840);
    for (QPoint corner : {QPoint(0, 0), QPoint(959, 0), QPoint(0, 539), QPoint(959, 539)}) {
        EXPECT_TRUE(near(picture().pixel(corner), pageBackground, 1)) << corner.x() << corner.y();
    }
}

TEST_F(StylePreviewTest, drawingTheDemonstrationMarksChangesOnlyWhereTheyLie) {
    const QImage marked = EditedImage::render(picture(), marks());
    ASSERT_EQ(marked.size(), picture().size());
    // The marks are not in the picture itself.
    EXPECT_TRUE(near(picture().pixel(770, 200), pageBackground, 1));
    EXPECT_TRUE(near(marked.pixel(770, 200), blue));
    EXPECT_EQ(marked.pixel(900, 40), picture().pixel(900, 40));
    EXPECT_EQ(marked.pixel(450, 465), picture().pixel(450, 465));
}
