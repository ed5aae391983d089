#include "text/InkFrames.h"

#include "fakes/GuiTestApp.h"

#include <QFont>
#include <QPainter>

#include <gtest/gtest.h>

using namespace vellumix;

namespace {

int darkPixels(const QImage& grey, const QRect& area) {
    int dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            dark += grey.constScanLine(y)[x] < 128;
        }
    }
    return dark;
}

} // namespace

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
    EXPECT_EQ(darkPixels(clean, QRect(4, 4, 121, 3)), 0);
    EXPECT_EQ(darkPixels(clean, QRect(14, 10, 100, 30)), darkPixels(grey, QRect(14, 10, 100, 30)));
    EXPECT_EQ(darkPixels(clean, QRect(140, 4, 50, 40)), darkPixels(grey, QRect(140, 4, 50, 40)));
}
