#include "text/InkFrames.h"

#include "fakes/GuiTestApp.h"

#include <QFont>
#include <QPainter>

#include <gtest/gtest.h>

using namespace vellumix;

// A button's outline goes, its label and a letter whose strokes enclose
// nothing of their own (an "O") stay.
TEST(InkFrames, outlinesAroundTextGoTheTextStays) {
    QImage grey(200, 60, QImage::Format_Grayscale8);
    grey.fill(255);
    QPainter painter(&grey);
    painter.setPen(Qt::black);
    painter.drawRoundedRect(QRect(4, 4, 120, 40), 12, 12);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(20);
    painter.setFont(font);
    painter.drawText(QRect(4, 4, 120, 40), Qt::AlignCenter, QStringLiteral("Save"));
    painter.drawText(QRect(140, 4, 50, 40), Qt::AlignCenter, QStringLiteral("O"));
    painter.end();
    const QImage clean = InkFrames::withoutFrames(grey);
    QImage white(121, 3, QImage::Format_Grayscale8);
    white.fill(255);
    EXPECT_EQ(clean.copy(4, 4, 121, 3), white);
    for (const QRect& text : {QRect(14, 10, 100, 30), QRect(140, 4, 50, 40)}) {
        EXPECT_EQ(clean.copy(text), grey.copy(text)) << text.x();
    }
}
