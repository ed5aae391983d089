#include "capture/Processor.h"
#include "fakes/Awaited.h"
#include "fakes/WidgetTestApp.h"
#include "support/ScrollPage.h"

#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

namespace vellumix {
namespace {

using testing::ScrollPage;

QString added(int rows) {
    return QStringLiteral("Added %1 pixels · Scroll down by less than half a screen").arg(rows);
}

// Whether frames add rows, none, or are refused, the scroll-capture harness
// checks on every page; here, the preview of a frame wider than it.
TEST(Processor, thePreviewOfAWideFrameIsScaledToThePreviewWidth) {
    const ScrollPage page({900, 1200, 3});
    Processor processor;
    const ProcessingResult first = processor.accept(page.frame(0, 400)).result();
    ASSERT_TRUE(first.preview);
    EXPECT_EQ(first.preview->size(), QSize(600, 267));
    const ProcessingResult next = processor.accept(page.frame(40, 400)).result();
    EXPECT_EQ(next.height, 440);
    ASSERT_TRUE(next.preview);
    EXPECT_EQ(next.preview->size(), processor.image(600).result().size());
}

// A narrow frame almost as tall as the limit: its own rows, then one 20 rows
// further that would pass 30,000 rows, then one 10 rows further that fits.
TEST(Processor, anAppendPastTheHeightLimitFailsAndChangesNothing) {
    std::mt19937 rng(5);
    QImage tall(8, 30100, QImage::Format_RGB32);
    for (int y = 0; y < tall.height(); ++y) {
        const int level = std::uniform_int_distribution<int>(0, 255)(rng);
        auto* line = reinterpret_cast<QRgb*>(tall.scanLine(y));
        std::fill_n(line, tall.width(), qRgb(level, 255 - level, level / 2));
    }
    Processor processor;
    EXPECT_EQ(processor.accept(tall.copy(0, 0, 8, 29990)).result().height, 29990);
    try {
        processor.accept(tall.copy(0, 20, 8, 29990)).result();
        ADD_FAILURE() << "no error";
    } catch (const DocumentError& error) {
        EXPECT_EQ(error.kind(), DocumentError::Kind::limit);
    }
    EXPECT_EQ(processor.document().result().height(), 29990);
    const ProcessingResult fits = processor.accept(tall.copy(0, 10, 8, 29990)).result();
    EXPECT_EQ(fits.message, added(10));
    EXPECT_EQ(fits.height, 30000);
}

TEST(Processor, callersContinueOnTheirOwnThreadWhileFramesRunInOrderAndFailOneByOne) {
    const ScrollPage page({400, 1200, 7});
    Processor processor;

    // Queued without waiting: each runs after the one before.
    processor.accept(page.frame(0, 300));
    processor.accept(page.frame(30, 300));
    QObject context;
    QEventLoop loop;
    std::vector<int64_t> heights;
    QThread* continuedOn = nullptr;
    processor.accept(page.frame(90, 300))
        .then(&context,
              [&](const ProcessingResult& result) {
                  heights.push_back(result.height);
                  continuedOn = QThread::currentThread();
                  return processor.accept(QImage());
              })
        .unwrap()
        .onFailed(&context, [&](const std::invalid_argument&) {
            heights.push_back(-1);
            loop.quit();
            return ProcessingResult{};
        });
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(continuedOn, QThread::currentThread());
    EXPECT_EQ(heights, (std::vector<int64_t>{390, -1}));
    // The unreadable frame changed nothing: the capture goes on.
    EXPECT_EQ(processor.accept(page.frame(140, 300)).result().message, added(50));
}

} // namespace
} // namespace vellumix
