#include "marks/ImageMark.h"

#include <gtest/gtest.h>

using namespace vellumix;

TEST(ImageMark, changingACopyLeavesTheOriginalUnchanged) {
    ImageMark original(DrawingTool::callout, {{10, 10}, {50, 80}}, Qt::blue, 4,
                       QStringLiteral("Hello"));
    original.bitmap = QImage(2, 2, QImage::Format_RGBA8888_Premultiplied);
    original.bitmap->fill(Qt::green);

    ImageMark copy = original;
    copy.points[0] = QPointF(99, 99);
    copy.points.append(QPointF(1, 1));
    copy.text = QStringLiteral("Changed");
    copy.thickness = 12;
    copy.bitmap->setPixelColor(0, 0, Qt::black);

    EXPECT_EQ(original.points, (QVector<QPointF>{{10, 10}, {50, 80}}));
    EXPECT_EQ(original.text, QStringLiteral("Hello"));
    EXPECT_EQ(original.thickness, 4);
    EXPECT_EQ(original.bitmap->pixelColor(0, 0), QColor(Qt::green));
}
