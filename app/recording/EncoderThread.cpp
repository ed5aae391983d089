#include "recording/EncoderThread.h"

#include "recording/RecordingError.h"

#include <QFile>

namespace vellumix {

EncoderThread::EncoderThread(std::unique_ptr<FrameWriter> writer)
    : m_writer(std::move(writer)), m_thread(&EncoderThread::run, this) {
    m_result.start();
}

EncoderThread::~EncoderThread() {
    close(false);
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

bool EncoderThread::offer(const QImage& frame, qint64 step) {
    {
        std::lock_guard lock(m_mutex);
        if (m_closing || !m_failure.isEmpty() || m_queue.size() >= queueFrames) {
            return false;
        }
        m_queue.push_back({frame, step});
    }
    m_ready.notify_one();
    return true;
}

std::size_t EncoderThread::queued() const {
    std::lock_guard lock(m_mutex);
    return m_queue.size();
}

QString EncoderThread::failure() const {
    std::lock_guard lock(m_mutex);
    return m_failure;
}

QFuture<WrittenRecording> EncoderThread::finish() {
    close(false);
    return m_result.future();
}

// A file the writer completed before the cancel came goes too.
void EncoderThread::cancel() {
    close(true);
    if (m_thread.joinable()) {
        m_thread.join();
    }
    const QFuture<WrittenRecording> done = m_result.future();
    if (done.resultCount() > 0) {
        QFile::remove(done.result().path);
    }
}

void EncoderThread::close(bool cancel) {
    {
        std::lock_guard lock(m_mutex);
        m_closing = true;
        m_cancelled = m_cancelled || cancel;
    }
    m_ready.notify_one();
}

void EncoderThread::run() {
    for (;;) {
        std::unique_lock lock(m_mutex);
        m_ready.wait(lock, [this] { return !m_queue.empty() || m_closing; });
        if (m_queue.empty() || m_cancelled) {
            break;
        }
        const Frame frame = std::move(m_queue.front());
        m_queue.pop_front();
        lock.unlock();
        // After a failure the writer ignores what comes.
        try {
            m_writer->write(frame.image, frame.step);
        } catch (const std::exception& error) {
            lock.lock();
            m_failure = QString::fromUtf8(error.what());
        }
    }
    std::unique_lock lock(m_mutex);
    const bool cancelled = m_cancelled;
    lock.unlock();
    try {
        if (cancelled) {
            m_writer->discard();
            throw RecordingError(QStringLiteral("The recording was cancelled."));
        } else {
            m_result.addResult(m_writer->finish());
        }
    } catch (...) {
        m_result.setException(std::current_exception());
    }
    m_result.finish();
}

} // namespace vellumix
