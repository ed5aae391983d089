#include "text/TextContrast.h"

#include "fakes/GuiTestApp.h"

#include <QFont>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>

using namespace vellumix;

namespace {

struct Scene {
    QImage image{240, 120, QImage::Format_RGB32};
    QPainter painter{&image};

    explicit Scene(const QColor& page) {
        image.fill(page);
        painter.setRenderHint(QPainter::Antialiasing);
    }
    void button(const QRectF& frame, const QColor& fill, qreal radius = 8) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawRoundedRect(frame, radius, radius);
    }
    void label(const QRect& frame, const QColor& ink, int pixelSize = 16,
               const QString& text = QStringLiteral("Save")) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(pixelSize);
        painter.setFont(font);
        painter.setPen(ink);
        painter.drawText(frame, Qt::AlignCenter, text);
    }
    TextContrast::Result contrast() {
        painter.end();
        return TextContrast::darkOnLight(image);
    }
    QImage prepared() { return contrast().image; }
};

int darkest(const QImage& grey, const QRect& area) {
    int value = 255;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            value = std::min<int>(value, grey.constScanLine(y)[x]);
        }
    }
    return value;
}

// Text the old brightness threshold lost or cut: white on mid-tone fills,
// grey on dark, low-contrast labels.
const std::tuple<const char*, QColor, QColor, QColor> kColouredCases[] = {
    {"white on blue", Qt::white, QColor(0x0a, 0x84, 0xff), Qt::white},
    {"white on orange", QColor(0x1e, 0x1e, 0x1e), QColor(0xff, 0x95, 0x00), Qt::white},
    {"white on green", Qt::white, QColor(0x34, 0xc7, 0x59), Qt::white},
    {"light on dark row", QColor(0x2c, 0x2c, 0x2e), QColor(0x3a, 0x3a, 0x3c),
     QColor(0xe5, 0xe5, 0xe7)},
    {"grey on white", Qt::white, Qt::white, QColor(0x8e, 0x8e, 0x93)},
    {"dark on light grey", Qt::white, QColor(0xe9, 0xe9, 0xeb), QColor(0x1d, 0x1d, 0x1f)},
};

} // namespace

TEST(TextContrast, textOnEveryFillTurnsBlackOnWhiteWithoutSeams) {
    const QRect frame(40, 30, 160, 60);
    for (const auto& [name, page, fill, ink] : kColouredCases) {
        Scene scene(page);
        scene.button(frame, fill);
        scene.label(frame, ink);
        const QImage grey = scene.prepared();
        ASSERT_EQ(grey.format(), QImage::Format_Grayscale8) << name;
        EXPECT_LE(darkest(grey, frame.adjusted(40, 10, -40, -10)), 40) << name;
        // The fill beside the label, the page and the button's edge.
        EXPECT_EQ(darkest(grey, QRect(46, 36, 20, 48)), 255) << name;
        EXPECT_EQ(darkest(grey, QRect(0, 0, 240, 24)), 255) << name;
        EXPECT_GE(darkest(grey, QRect(36, 26, 168, 3)), 200) << name;
        EXPECT_GE(darkest(grey, QRect(36, 26, 3, 68)), 200) << name;
    }
}

TEST(TextContrast, largeBoldTextStaysAndCheckboxesGo) {
    // A heading letter as thick as a small button holds no text of its own.
    Scene heading(Qt::white);
    heading.painter.fillRect(QRect(20, 20, 9, 60), QColor(0x1d, 0x1d, 0x1f));
    EXPECT_LE(darkest(heading.prepared(), QRect(22, 30, 4, 40)), 40);

    // A ticked and an empty checkbox beside a label, in a dark theme.
    Scene boxes(QColor(0x1e, 0x1e, 0x1e));
    boxes.button(QRectF(60, 40, 14, 14), QColor(0x0a, 0x84, 0xff), 3);
    boxes.painter.setPen(QPen(Qt::white, 2));
    boxes.painter.drawLine(QPointF(63, 47), QPointF(66, 50));
    boxes.painter.drawLine(QPointF(66, 50), QPointF(71, 44));
    boxes.painter.setPen(QPen(QColor(0x6e, 0x6e, 0x73), 1));
    boxes.painter.setBrush(Qt::NoBrush);
    boxes.painter.drawRect(QRectF(100.5, 40.5, 14, 14));
    boxes.label(QRect(120, 30, 120, 40), Qt::white, 13, QStringLiteral("Copy to clipboard"));
    const QImage grey = boxes.prepared();
    EXPECT_EQ(darkest(grey, QRect(56, 36, 64, 24)), 255);
    EXPECT_LE(darkest(grey, QRect(130, 30, 100, 40)), 40);
}

TEST(TextContrast, sidebarEdgeStaysAsAColumnRule) {
    Scene scene(Qt::white);
    scene.painter.fillRect(QRect(0, 0, 80, 120), QColor(0xf2, 0xf2, 0xf7));
    const QImage grey = scene.prepared();
    EXPECT_EQ(darkest(grey, QRect(80, 0, 1, 120)), 0);
    EXPECT_EQ(darkest(grey, QRect(0, 0, 79, 120)), 255);
    EXPECT_EQ(darkest(grey, QRect(81, 0, 159, 120)), 255);
}

TEST(TextContrast, textHeightIsAboutALowercaseLetter) {
    Scene small(Qt::white);
    small.label(QRect(0, 0, 240, 120), Qt::black, 13);
    Scene large(Qt::white);
    large.label(QRect(0, 0, 240, 120), Qt::black, 26);
    const int smallHeight = small.contrast().textHeight;
    EXPECT_GE(smallHeight, 6);
    EXPECT_LE(smallHeight, 11);
    EXPECT_GE(large.contrast().textHeight, 2 * smallHeight - 2);
}

TEST(TextContrast, photoIsOnlyMadeGrey) {
    QImage photo(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y) {
        for (int x = 0; x < photo.width(); ++x) {
            photo.setPixel(
                x, y,
                qRgb((x * 97 + y * 31) % 256, (x * 13 + y * 151) % 256, (x * y * 7 + 5) % 256));
        }
    }
    const TextContrast::Result result = TextContrast::darkOnLight(photo);
    EXPECT_EQ(result.image, photo.convertToFormat(QImage::Format_Grayscale8));
    EXPECT_EQ(result.textHeight, 0);
}
