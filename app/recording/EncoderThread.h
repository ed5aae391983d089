#pragma once

#include "recording/FrameWriter.h"

#include <QFuture>
#include <QPromise>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace vellumix {

// Runs a FrameWriter on a thread of its own, fed through a bounded queue:
// when the encoder falls behind, new frames are refused (the caller counts
// them) instead of piling up in memory or holding up the screen grabs.
// Driven from one thread.
class EncoderThread final {
public:
    static constexpr std::size_t queueFrames = 8;

    explicit EncoderThread(std::unique_ptr<FrameWriter> writer);
    // Waits for the thread; a file not finished is left as the writer left it.
    ~EncoderThread();
    EncoderThread(const EncoderThread&) = delete;
    EncoderThread& operator=(const EncoderThread&) = delete;

    // False when the frame is refused: the queue is full or writing failed.
    bool offer(const QImage& frame, qint64 step);
    std::size_t queued() const;
    // The writer's failure, once one happened; the recording should end.
    QString failure() const;
    // Encodes what is queued, then completes the file on the thread.
    QFuture<WrittenRecording> finish();
    // Drops what is queued, waits for the thread and removes the file.
    void cancel();

private:
    struct Frame {
        QImage image;
        qint64 step;
    };

    void run();
    void close(bool cancel);

    std::unique_ptr<FrameWriter> m_writer;
    mutable std::mutex m_mutex;
    std::condition_variable m_ready;
    std::deque<Frame> m_queue;
    bool m_closing = false;
    bool m_cancelled = false;
    QString m_failure;
    QPromise<WrittenRecording> m_result;
    std::thread m_thread;
};

} // namespace vellumix
