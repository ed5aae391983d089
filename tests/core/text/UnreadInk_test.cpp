#include "text/UnreadInk.h"

#include "fakes/GuiTestApp.h"

#include <QFont>
#include <QPainter>

#include <gtest/gtest.h>

using namespace vellumix;

// Ink outside every line read is found once per line of it; the line's own
// ink, and a frame around everything, are not.
TEST(UnreadInk, inkOutsideTheLinesReadIsFoundLineByLineFramesAreNot) {
    QImage prepared(300, 140, QImage::Format_Grayscale8);
    prepared.fill(255);
    QPainter painter(&prepared);
    painter.setPen(Qt::black);
    painter.drawRect(2, 2, 295, 135);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(20);
    painter.setFont(font);
    const QRect labels[] = {{12, 12, 60, 24}, {12, 52, 60, 24}, {140, 12, 140, 24}};
    for (const QRect& label : labels) {
        painter.drawText(label, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Tools"));
    }
    painter.end();
    RecognisedLine read;
    read.box = labels[2];
    const std::vector<QRect> found = UnreadInk::areas(prepared, {read});
    ASSERT_EQ(found.size(), 2u);
    for (size_t i = 0; i < found.size(); ++i) {
        EXPECT_TRUE(found[i].intersects(labels[i])) << i;
        EXPECT_LT(found[i].height(), 2 * labels[i].height()) << i;
        EXPECT_LT(found[i].right(), labels[2].left()) << i;
    }
}
