#include "imaging/StylePreview.h"

#include "fakes/GuiTestApp.h"
#include "imaging/EditedImage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

using namespace vellumix;

namespace {

const QRgb pageBackground = qRgb(242, 245, 250);
const QRgb white = qRgb(255, 255, 255);
const QRgb blue = qRgb(61, 94, 227);
const QRgb dark = qRgb(38, 48, 71);

bool near(QRgb actual, QRgb expected, int tolerance = 2) {
    return std::abs(qRed(actual) - qRed(expected)) <= tolerance &&
           std::abs(qGreen(actual) - qGreen(expected)) <= tolerance &&
           std::abs(qBlue(actual) - qBlue(expected)) <= tolerance && qAlpha(actual) == 255;
}

int countNear(const QImage& image, const QRect& area, QRgb colour) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += near(image.pixel(x, y), colour, 12) ? 1 : 0;
        }
    }
    return count;
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

TEST_F(StylePreviewTest, theSettingsCardSwitchAndTitleAreDrawnIn) {
    EXPECT_EQ(picture().pixel(450, 465), white);
    EXPECT_EQ(picture().pixel(45, 140), white);
    EXPECT_TRUE(near(picture().pixel(35, 300), pageBackground, 1));
    EXPECT_TRUE(near(picture().pixel(470, 300), pageBackground, 1));
    EXPECT_TRUE(near(picture().pixel(320, 242), blue));
    EXPECT_TRUE(near(picture().pixel(375, 220), blue));
    EXPECT_EQ(picture().pixel(420, 242), white);
    EXPECT_GT(countNear(picture(), QRect(40, 30, 400, 40), dark), 200);
    EXPECT_EQ(countNear(picture(), QRect(500, 130, 400, 300), dark), 0);
}

TEST_F(StylePreviewTest, fourDemonstrationMarksWithTheirStylesAreLeftOutOfThePicture) {
    ASSERT_EQ(marks().size(), 4);
    const DrawingTool tools[] = {DrawingTool::highlight, DrawingTool::step, DrawingTool::callout,
                                 DrawingTool::curvedArrow};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(marks()[i].tool, tools[i]);
        EXPECT_FALSE(marks()[i].bitmap.has_value());
    }
    EXPECT_EQ(marks()[0].cornerRadius, 8);
    EXPECT_EQ(marks()[1].text, "2");
    EXPECT_EQ(marks()[2].text, "Enable alerts\nStay up to date");
    EXPECT_EQ(marks()[2].bubbleRect().topLeft(), QPointF(550, 145));
    EXPECT_EQ(marks()[2].bubbleRect().width(), 240);
    EXPECT_EQ(marks()[3].points, (QVector<QPointF>{{665, 345}, {416, 399}, {600, 482}}));
    EXPECT_EQ(marks()[3].thickness, 4);
    // Where the callout's bubble lies once drawn, the page is untouched.
    EXPECT_TRUE(near(picture().pixel(770, 230), pageBackground, 1));
}

TEST_F(StylePreviewTest, drawingTheDemonstrationMarksChangesOnlyWhereTheyLie) {
    const QImage marked = EditedImage::render(picture(), marks());
    ASSERT_EQ(marked.size(), picture().size());
    EXPECT_TRUE(near(marked.pixel(770, 230), blue));
    EXPECT_EQ(marked.pixel(900, 40), picture().pixel(900, 40));
    EXPECT_EQ(marked.pixel(450, 465), picture().pixel(450, 465));
}
