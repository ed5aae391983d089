#include "fakes/GuiTestApp.h"
#include "text/TextRecognition.h"

#include <QFont>
#include <QPainter>

#include <gtest/gtest.h>

#include <vector>

using namespace vellumix;

namespace {

struct Line {
    const char* text;
    QColor ink;
    int pixelSize;
    const char* read = nullptr; // what a perfect reader returns, when not `text`
};

// What a toolkit draws beside text, without smoothing: a grip's checkered
// patch before the first line, or an outlined button around each of the last
// line's labels ("|" between them).
enum class Marks { none, grip, buttons };

// Lines drawn one under the other in one family at one scale; a perfect
// reader returns them as they are.
struct Screen {
    const char* fault;
    const char* family;
    qreal scale;
    QColor page;
    std::vector<Line> lines;
    Marks marks = Marks::none;
};

Screen screen(const char* fault, const char* family, qreal scale, QColor page,
              std::vector<Line> lines, Marks marks = Marks::none) {
    return {fault, family, scale, page, std::move(lines), marks};
}

constexpr int kGrip = 10;

void drawGrip(QImage& image, int baseline, const Line& line) {
    for (int y = baseline - line.pixelSize; y < baseline + 2; ++y) {
        for (int x = 16 + y % 2; x < 16 + kGrip; x += 2) {
            image.setPixelColor(x, y, line.ink);
        }
    }
}

void drawButtons(QPainter& painter, qreal top, const Line& line) {
    qreal x = 4;
    for (const QString& label : QString::fromUtf8(line.text).split(QLatin1Char('|'))) {
        const QRectF box(x, top, painter.fontMetrics().horizontalAdvance(label) + 16,
                         line.pixelSize * 1.6);
        painter.drawRoundedRect(box, box.height() / 2, box.height() / 2);
        painter.drawText(box, Qt::AlignCenter, label);
        x = box.right() + 6;
    }
}

QImage drawn(const Screen& screen) {
    qreal height = 16;
    for (const Line& line : screen.lines) {
        height += line.pixelSize * 1.6;
    }
    QImage image(qRound(380 * screen.scale), qRound(height * screen.scale),
                 QImage::Format_RGBA8888_Premultiplied);
    image.setDevicePixelRatio(screen.scale);
    image.fill(screen.page);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, screen.marks != Marks::buttons);
    const qreal left = screen.marks == Marks::grip ? 16 + kGrip + 3 : 16;
    qreal y = 8;
    for (const Line& line : screen.lines) {
        QFont font(QString::fromUtf8(screen.family));
        font.setPixelSize(line.pixelSize);
        font.setStyleStrategy(screen.marks == Marks::buttons ? QFont::NoAntialias
                                                             : QFont::PreferDefault);
        painter.setFont(font);
        painter.setPen(line.ink);
        if (screen.marks == Marks::buttons && &line == &screen.lines.back()) {
            drawButtons(painter, y + line.pixelSize * 0.6, line);
        } else {
            painter.drawText(QPointF(left, y + line.pixelSize * 1.6), QString::fromUtf8(line.text));
        }
        y += line.pixelSize * 1.6;
    }
    if (screen.marks == Marks::grip) {
        drawGrip(image, qRound(8 + screen.lines.front().pixelSize * 1.6), screen.lines.front());
    }
    return image;
}

const QColor kInk(0x1d, 0x1d, 0x1f);
const QColor kGrey(0x8a, 0x8a, 0x8e);

} // namespace

TEST(RecognitionFaults, digitsGreyLinesChineseScriptsMenuSpacesAndFramedTextAreReadAsDrawn) {
    const Screen screens[] = {
        // Small print under large titles at scale 1 was read unenlarged with
        // its ink spread: 9 became 0 and "1.2 GB" "1.245".
        screen("digits", "Nimbus Sans", 1, Qt::white,
               {{"Meeting notes", kInk, 26},
                {"We are still on", kInk, 22},
                {"Sep 9 at 20:33, 1.2 GB", kGrey, 12}}),
        // The spread ink joined the dot of an i to its stem.
        screen("grey line", "DejaVu Sans", 2, QColor(0x1e, 0x1e, 0x1e),
               {{"Automatic updates", QColor(0xe5, 0xe5, 0xe7), 14},
                {"Download new versions in the background", QColor(0x8e, 0x8e, 0x93), 11}}),
        // Each script's model reads the other's characters as look-alikes of
        // its own, and the surer model was taken for the whole image.
        screen("traditional", "WenQuanYi Micro Hei", 1, QColor(0x1e, 0x1e, 0x1e),
               {{"有新版本可用。現在安裝嗎？", QColor(0xe5, 0xe5, 0xe7), 13},
                {"此更新需要 67.1 MB 可用空間。", QColor(0xe5, 0xe5, 0xe7), 13}}),
        screen("mixed", "WenQuanYi Micro Hei", 2, Qt::white,
               {{"我已经把 slides 发给 Anna 了", kInk, 14}}),
        screen("mixed", "DejaVu Sans", 1, Qt::white,
               {{"Open the file", kInk, 13}, {"这个 PDF 文件有 12 页", kInk, 13}}),
        // Menu titles stand a character or more apart.
        screen("menu titles", "WenQuanYi Micro Hei", 2, Qt::white,
               {{"文件　编辑　视图　帮助", kInk, 14, "文件 编辑 视图 帮助"}}),
        // The grip was read as a bracket or a letter before the line.
        screen("grip", "DejaVu Sans", 1, Qt::white,
               {{"The download finished at 20:33.", kInk, 12}, {"Install it now?", kInk, 12}},
               Marks::grip),
        // Outlined buttons were read as parentheses or lost with their labels.
        screen("buttons", "Nimbus Sans", 1, Qt::white,
               {{"Disk usage: 61.5% of 250 GB", kInk, 12},
                {"Save|Discard|Cancel", kInk, 12, "Save Discard Cancel"}},
               Marks::buttons),
    };
    for (const Screen& screen : screens) {
        QStringList expected;
        for (const Line& line : screen.lines) {
            expected << QString::fromUtf8(line.read ? line.read : line.text);
        }
        const CancellationToken never;
        EXPECT_EQ(TextRecognition::recognize(drawn(screen), never).toStdString(),
                  expected.join(QLatin1Char('\n')).toStdString())
            << screen.fault;
    }
}
