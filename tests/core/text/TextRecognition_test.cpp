#include "fakes/GuiTestApp.h"
#include "text/TextRecognition.h"
#include "text/TextRecognitionError.h"

#include "ScopedEnvironment.h"

#include <QFont>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <future>

using namespace vellumix;

namespace {

QImage textImage(const QStringList& lines, const QColor& ink, const QColor& paper,
                 int pixelSize = 24) {
    QImage image(320, 16 + int(lines.size()) * pixelSize * 2,
                 QImage::Format_RGBA8888_Premultiplied);
    image.fill(paper);
    QPainter painter(&image);
    QFont font(QStringLiteral("Helvetica"));
    font.setPixelSize(pixelSize);
    painter.setFont(font);
    painter.setPen(ink);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        painter.drawText(16, int(i + 1) * pixelSize * 2, lines[i]);
    }
    return image;
}

QString recognizeUncancelled(const QImage& image) {
    const CancellationToken token;
    return TextRecognition::recognize(image, token);
}

} // namespace

TEST(TextRecognition, largeCleanLinesComeBackOneLinePerTextLine) {
    const QString text =
        recognizeUncancelled(textImage({"Hello World", "Copy All"}, Qt::black, Qt::white));
    const QStringList lines = text.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2) << qPrintable(text);
    EXPECT_TRUE(lines[0].contains(QStringLiteral("Hello"))) << qPrintable(text);
    EXPECT_TRUE(lines[1].contains(QStringLiteral("Copy"))) << qPrintable(text);
    EXPECT_FALSE(text.endsWith(QLatin1Char('\n')));
}

TEST(TextRecognition, textOnColouredFillsCodeAndChineseAreReadWhole) {
    // What the old brightness threshold lost or garbled, and the languages
    // chosen per image: Chinese read in one script.
    struct Case {
        const char* text;
        QColor fill;
        QColor ink;
        const char* family;
        qreal pixelRatio;
    };
    const Case cases[] = {
        {"Save Changes", QColor(0x0a, 0x84, 0xff), Qt::white, "DejaVu Sans", 1},
        {"Export as PDF", QColor(0xff, 0x95, 0x00), Qt::white, "DejaVu Sans", 2},
        {"Sync complete", QColor(0x80, 0x80, 0x80), Qt::white, "DejaVu Sans", 1},
        {"word_counts = {}", Qt::white, QColor(0x1d, 0x1d, 0x1f), "DejaVu Sans Mono", 2},
        {"打开文件并保存", QColor(0x34, 0xc7, 0x59), Qt::white, "WenQuanYi Micro Hei", 1},
        {"檢查軟體更新", QColor(0x2c, 0x2c, 0x2e), Qt::white, "WenQuanYi Micro Hei", 2},
    };
    for (const Case& c : cases) {
        QImage image(qRound(260 * c.pixelRatio), qRound(80 * c.pixelRatio),
                     QImage::Format_RGBA8888_Premultiplied);
        image.setDevicePixelRatio(c.pixelRatio);
        image.fill(QColor(0x1e, 0x1e, 0x1e));
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(c.fill);
        painter.drawRoundedRect(QRectF(20, 20, 220, 40), 8, 8);
        QFont font(QString::fromUtf8(c.family));
        font.setPixelSize(15);
        painter.setFont(font);
        painter.setPen(c.ink);
        painter.drawText(QRect(20, 20, 220, 40), Qt::AlignCenter, QString::fromUtf8(c.text));
        painter.end();
        EXPECT_EQ(recognizeUncancelled(image), QString::fromUtf8(c.text)) << c.text;
    }
}

// A dark page is the hard case: its contrast is turned round first.
TEST(TextRecognition, imageWithoutTextGivesEmptyString) {
    QImage dark(120, 60, QImage::Format_RGB32);
    dark.fill(QColor(0x1e, 0x1e, 0x1e));
    EXPECT_EQ(recognizeUncancelled(dark), QString());
}

TEST(TextRecognition, missingLanguageDataFailsAsRecognitionErrorNotCancellation) {
    QTemporaryDir emptyTessdata;
    const ScopedEnvironment prefix("TESSDATA_PREFIX", emptyTessdata.path().toLocal8Bit());
    const CancellationToken token;
    try {
        TextRecognition::recognize(textImage({"Hello"}, Qt::black, Qt::white), token);
        ADD_FAILURE() << "recognition ran without language data";
    } catch (const TextRecognitionError& error) {
        EXPECT_EQ(error.kind(), TextRecognitionError::Kind::engineUnavailable);
    }
}

// A started recognition refuses a null image; a cancelled one never starts.
TEST(TextRecognition, aNullImageIsRefusedUnlessCancelledBeforeTheCall) {
    try {
        recognizeUncancelled(QImage());
        ADD_FAILURE() << "a null image was accepted";
    } catch (const TextRecognitionError& error) {
        EXPECT_EQ(error.kind(), TextRecognitionError::Kind::invalidImage);
    }
    CancellationToken token;
    token.cancel();
    EXPECT_THROW(TextRecognition::recognize(QImage(), token), CancellationError);
    EXPECT_THROW(TextRecognition::recognize(textImage({"Hello"}, Qt::black, Qt::white), token),
                 CancellationError);
}

TEST(TextRecognition, cancelledDuringRecognitionThrowsDeliversNoTextAndLeavesTheEngineUsable) {
    QStringList lines;
    for (int i = 0; i < 24; ++i) {
        lines << QStringLiteral("Line %1 of a long list of settings").arg(i);
    }
    const QImage image = textImage(lines, Qt::black, Qt::white, 14);
    CancellationToken token;
    std::promise<void> started;
    std::future<QString> recognition = std::async(std::launch::async, [&] {
        started.set_value();
        return TextRecognition::recognize(image, token);
    });
    // Cancelled once the recognising thread runs, without waiting for any
    // stage of the work: the engine takes far longer to read 24 lines than
    // this thread takes to raise the token, and should it ever finish first
    // it must deliver every line, never a part.
    started.get_future().wait();
    token.cancel();
    try {
        const QString text = recognition.get();
        EXPECT_TRUE(text.contains(QStringLiteral("Line 23"))) << qPrintable(text);
    } catch (const CancellationError&) {
    }
    // The engine that was stopped reads the next image in full.
    EXPECT_TRUE(recognizeUncancelled(textImage({"Hello World"}, Qt::black, Qt::white))
                    .contains(QStringLiteral("World")));
}

TEST(TextRecognition, concurrentRecognitionsOfOneImageAgree) {
    const QImage image = textImage({"Save as PNG"}, Qt::black, Qt::white);
    std::future<QString> other =
        std::async(std::launch::async, [&] { return recognizeUncancelled(image); });
    const QString here = recognizeUncancelled(image);
    EXPECT_EQ(other.get(), here);
    EXPECT_TRUE(here.contains(QStringLiteral("PNG"))) << qPrintable(here);
}
