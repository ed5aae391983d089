#include "capture/Processor.h"
#include "fakes/Awaited.h"
#include "fakes/WidgetTestApp.h"
#include "support/ScrollPage.h"

#include <QThread>

#include <gtest/gtest.h>

#include <stdexcept>

namespace vellumix {
namespace {

using testing::ScrollPage;

TEST(Processor, callersContinueOnTheirOwnThreadWhileFramesRunInOrderAndFailOneByOne) {
    const ScrollPage page({400, 1200, 7});
    Processor processor;

    // Queued without waiting: each runs after the one before.
    processor.accept(page.frame(0, 300));
    processor.accept(page.frame(30, 300));
    QObject context;
    std::vector<int64_t> heights;
    QThread* continuedOn = nullptr;
    awaited(processor.accept(page.frame(90, 300))
                .then(&context,
                      [&](const ProcessingResult& result) {
                          heights.push_back(result.height);
                          continuedOn = QThread::currentThread();
                          return processor.accept(QImage());
                      })
                .unwrap()
                .onFailed(&context,
                          [&](const std::invalid_argument&) {
                              heights.push_back(-1);
                              return ProcessingResult{};
                          }))
        .waitForFinished();
    EXPECT_EQ(continuedOn, QThread::currentThread());
    EXPECT_EQ(heights, (std::vector<int64_t>{390, -1}));
    // The unreadable frame changed nothing: the capture goes on, and the
    // image waits for the frame queued before it.
    processor.accept(page.frame(140, 300));
    EXPECT_EQ(processor.image().result().height(), 440);
}

} // namespace
} // namespace vellumix
