#include "recording/Recorder.h"

#include "recording/EncoderThread.h"
#include "recording/RecordingError.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPointer>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <cmath>

namespace vellumix {

namespace {

// The pointer where the screen showed it, `origin` being the frame's top-left
// corner in the whole screen's device pixels.
void drawPointer(QImage& frame, PointerSource* source, QPoint origin) {
    const std::optional<PointerImage> pointer = source ? source->pointer() : std::nullopt;
    if (pointer) {
        QPainter(&frame).drawImage(pointer->position - pointer->hotSpot - origin, pointer->image);
    }
}

} // namespace

Recorder::Recorder(const DisplayInfo& display, const QRect& pixels, int fps,
                   std::unique_ptr<FrameWriter> writer, DisplaySource& displays,
                   ScreenSource& screen, const Clock& clock, PointerSource* pointer,
                   QObject* parent)
    : QObject(parent), m_display(display), m_pixels(pixels), m_fps(fps), m_displays(displays),
      m_screen(screen), m_clock(clock), m_pointer(pointer),
      m_encoder(std::make_unique<EncoderThread>(std::move(writer))) {
    // Twice a frame's time, so a due step waits at most half a frame.
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(std::max(1, 500 / fps));
    connect(&m_timer, &QTimer::timeout, this, [this] { tick(); });
}

Recorder::~Recorder() = default;

QFuture<void> Recorder::start() {
    m_start = m_clock.now();
    m_timer.start();
    return tick();
}

bool Recorder::displayPresent() const {
    const std::optional<DisplayInfo> now = findDisplay(m_displays.displays(), m_display.id);
    return now && now->scale == m_display.scale &&
           QRect(QPoint(0, 0), now->pixelRect().size()).contains(m_pixels);
}

std::size_t Recorder::queuedFrames() const {
    return m_encoder->queued();
}

QString Recorder::endReason() const {
    if (const QString failure = m_encoder->failure(); !failure.isEmpty()) {
        return failure;
    }
    if (elapsedSeconds() >= maximumSeconds) {
        return limitMessage;
    }
    return displayPresent() ? QString() : displayMessage;
}

QFuture<void> Recorder::tick() {
    if (m_ending) {
        return QtFuture::makeReadyFuture();
    }
    if (const QString reason = endReason(); !reason.isEmpty()) {
        end(reason);
        return QtFuture::makeReadyFuture();
    }
    const qint64 step = qint64(std::floor(elapsedSeconds() * m_fps));
    if (step <= m_lastStep || !m_grab.isFinished()) {
        return QtFuture::makeReadyFuture();
    }
    // Only QException crosses QtConcurrent's threads whole; the message of
    // any other failure is carried instead.
    struct Grab {
        QImage frame;
        QString failure;
    };
    m_grab =
        QtConcurrent::run(QThreadPool::globalInstance(), [screen = &m_screen, pointer = m_pointer,
                                                          display = m_display, pixels = m_pixels] {
            try {
                QImage frame = screen->grabRegion(display, pixels);
                drawPointer(frame, pointer, display.pixelOrigin + pixels.topLeft());
                return Grab{frame, {}};
            } catch (const std::exception& error) {
                return Grab{{}, QString::fromUtf8(error.what())};
            }
        }).then(QCoreApplication::instance(), [self = QPointer(this), step](const Grab& grab) {
            if (self) {
                grab.failure.isEmpty() ? self->deliver(grab.frame, step) : self->end(grab.failure);
            }
        });
    return m_grab;
}

void Recorder::deliver(const QImage& frame, qint64 step) {
    if (frame.size() != m_pixels.size()) {
        end(displayMessage);
        return;
    }
    m_dropped += step - m_lastStep - 1;
    m_lastStep = step;
    if (!m_encoder->offer(frame.convertToFormat(QImage::Format_RGBA8888_Premultiplied), step)) {
        ++m_dropped;
    }
}

// A grab still running delivers its frame first: a recording that ends
// before its first frame arrived would have no file. Continuations have the
// application as their context, as one whose context goes first is an
// error (the recorder may be closed while a grab runs).
void Recorder::end(const QString& message) {
    if (m_ending) {
        return;
    }
    m_ending = true;
    m_timer.stop();
    QPointer self(this);
    m_result =
        m_grab
            .then(QCoreApplication::instance(),
                  [self] {
                      return self ? self->m_encoder->finish()
                                  : QtFuture::makeExceptionalFuture<WrittenRecording>(
                                        std::make_exception_ptr(RecordingError(
                                            QStringLiteral("The recording was closed."))));
                  })
            .unwrap()
            .then(QCoreApplication::instance(), [self, message](const WrittenRecording& file) {
                return RecordingResult{file, self ? self->m_dropped : 0,
                                       message.isEmpty() ? file.failure : message};
            });
    if (!message.isEmpty()) {
        emit endedAlone();
    }
}

QFuture<RecordingResult> Recorder::stop() {
    // A stop that comes late still reports why the recording had to end.
    if (!m_ending) {
        end(endReason());
    }
    return m_result;
}

void Recorder::cancel() {
    m_ending = true;
    m_timer.stop();
    m_encoder->cancel();
}

} // namespace vellumix
