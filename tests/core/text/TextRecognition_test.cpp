#include "fakes/GuiTestApp.h"
#include "text/TextRecognition.h"
#include "text/TextRecognitionError.h"

#include "support/ScopedEnvironment.h"

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

// Two recognitions at once never share an engine: both read the whole text.
TEST(TextRecognition, largeCleanLinesComeBackOneLinePerTextLineAlsoWhenReadConcurrently) {
    const QImage image = textImage({"Hello World", "Save as PNG"}, Qt::black, Qt::white);
    std::future<QString> other =
        std::async(std::launch::async, [&] { return recognizeUncancelled(image); });
    const QString text = recognizeUncancelled(image);
    EXPECT_EQ(other.get(), text);
    const QStringList lines = text.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2) << qPrintable(text);
    EXPECT_TRUE(lines[0].contains(QStringLiteral("Hello"))) << qPrintable(text);
    EXPECT_TRUE(lines[1].contains(QStringLiteral("PNG"))) << qPrintable(text);
    EXPECT_FALSE(text.endsWith(QLatin1Char('\n')));
}

TEST(TextRecognition, textOnColouredFillsCodeAndChineseAreReadWholeAndNoTextIsNothing) {
    // What the old brightness threshold lost or garbled, and the languages
    // chosen per image: Chinese read in one script. How each fill's text turns
    // black on white is TextContrast's test; one fill is read end to end here.
    const std::tuple<const char*, QColor, QColor, const char*, qreal> cases[] = {
        {"Sync complete", QColor(0x80, 0x80, 0x80), Qt::white, "DejaVu Sans", 1},
        {"word_counts = {}", Qt::white, QColor(0x1d, 0x1d, 0x1f), "DejaVu Sans Mono", 2},
        {"打开文件并保存", QColor(0x34, 0xc7, 0x59), Qt::white, "WenQuanYi Micro Hei", 1},
        {"檢查軟體更新", QColor(0x2c, 0x2c, 0x2e), Qt::white, "WenQuanYi Micro Hei", 2},
        // No text at all, on a dark page, whose contrast is turned round first.
        {"", QColor(0x1e, 0x1e, 0x1e), Qt::white, "DejaVu Sans", 1},
    };
    for (const auto& [text, fill, ink, family, pixelRatio] : cases) {
        QImage image(qRound(260 * pixelRatio), qRound(80 * pixelRatio),
                     QImage::Format_RGBA8888_Premultiplied);
        image.setDevicePixelRatio(pixelRatio);
        image.fill(QColor(0x1e, 0x1e, 0x1e));
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawRoundedRect(QRectF(20, 20, 220, 40), 8, 8);
        QFont font(QString::fromUtf8(family));
        font.setPixelSize(15);
        painter.setFont(font);
        painter.setPen(ink);
        painter.drawText(QRect(20, 20, 220, 40), Qt::AlignCenter, QString::fromUtf8(text));
        painter.end();
        EXPECT_EQ(recognizeUncancelled(image), QString::fromUtf8(text)) << text;
    }
}

// Missing language data and a null image are errors of their own, never a
// cancellation; a recognition cancelled before the call never starts.
TEST(TextRecognition, missingDataAndNullImagesAreRecognitionErrorsUnlessCancelledFirst) {
    const QImage hello = textImage({"Hello"}, Qt::black, Qt::white);
    const auto expectError = [](const QImage& image, TextRecognitionError::Kind kind) {
        try {
            recognizeUncancelled(image);
            ADD_FAILURE() << "recognition ran, expected error " << int(kind);
        } catch (const TextRecognitionError& error) {
            EXPECT_EQ(error.kind(), kind);
        }
    };
    expectError(QImage(), TextRecognitionError::Kind::invalidImage);
    {
        QTemporaryDir emptyTessdata;
        const ScopedEnvironment prefix("TESSDATA_PREFIX", emptyTessdata.path().toLocal8Bit());
        expectError(hello, TextRecognitionError::Kind::engineUnavailable);
    }
    CancellationToken token;
    token.cancel();
    EXPECT_THROW(TextRecognition::recognize(QImage(), token), CancellationError);
    EXPECT_THROW(TextRecognition::recognize(hello, token), CancellationError);
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
