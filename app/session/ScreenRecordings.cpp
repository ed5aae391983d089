#include "session/ScreenRecordings.h"

#include "platform/Dialogs.h"
#include "prefs/Defaults.h"
#include "recording/Recorder.h"
#include "recording/RecordingError.h"
#include "recording/RecordingFormat.h"
#include "session/CaptureSession.h"
#include "session/RecordingControlView.h"
#include "session/RecordingResultView.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>

namespace vellumix {

namespace {

constexpr int controlGap = 8;

} // namespace

ScreenRecordings::ScreenRecordings(Services services, QObject* parent)
    : QObject(parent), m_services(services) {
    m_tick.setInterval(250);
    connect(&m_tick, &QTimer::timeout, this, [this] {
        if (m_control != nullptr && m_recorder) {
            m_control->setElapsed(m_recorder->elapsedSeconds());
        }
    });
}

// A recording still running when the app quits is completed first, so its
// file plays to the end; the encoder's work comes back through the event loop.
ScreenRecordings::~ScreenRecordings() {
    delete m_control;
    for (const QPointer<RecordingResultView>& result : m_results) {
        delete result;
    }
    if (m_recorder) {
        m_quitting = true;
        const QFuture<RecordingResult> done = m_recorder->stop();
        const QDeadlineTimer deadline(quitMilliseconds);
        while (!done.isFinished() && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        }
    }
}

void ScreenRecordings::serve(CaptureSession& session) {
    session.record = [this](const CaptureRegion& region) {
        start(region);
    };
    session.stopRecording = [this] {
        const bool wasRunning = running();
        stop();
        return wasRunning;
    };
}

bool ScreenRecordings::showsPointer() const {
    return !m_services.preferences.contains(pointerKey) ||
           m_services.preferences.value(pointerKey).toBool();
}

bool ScreenRecordings::running() const {
    return m_recorder != nullptr && !m_stopping;
}

QString ScreenRecordings::newFile(const QString& folder, const QString& suffix) {
    const QDir dir(folder);
    QString name = QStringLiteral("Capture.") + suffix;
    for (int n = 2; QFileInfo::exists(dir.filePath(name)); ++n) {
        name = QStringLiteral("Capture %1.%2").arg(n).arg(suffix);
    }
    return dir.filePath(name);
}

void ScreenRecordings::start(const CaptureRegion& region) {
    if (m_recorder) {
        return;
    }
    const std::optional<DisplayInfo> display =
        findDisplay(m_services.platform.displays.displays(), region.displayID);
    const QString formatName = m_services.preferences.value(formatKey).toString();
    const RecordingFormat* format =
        RecordingFormat::find(formatName.isEmpty() ? "mp4" : formatName);
    try {
        if (!display || format == nullptr) {
            throw RecordingError(
                QStringLiteral("The display or the format of the recording is gone."));
        }
        const QRect pixels = region.pixelRect(display->pixelRect().size());
        const QString& folder = m_services.folder;
        QDir().mkpath(folder);
        const PlatformServices::Recorded recorded = m_services.platform.recorded(showsPointer());
        m_recorder = std::make_unique<Recorder>(
            *display, pixels, fps,
            format->writer(newFile(folder, QString::fromLatin1(format->name)), pixels.size(), fps),
            m_services.platform.displays, recorded.screen, m_services.clock, recorded.pointer);
    } catch (const std::exception& error) {
        m_services.dialogs.alert({QStringLiteral("The recording could not start"),
                                  QString::fromUtf8(error.what()),
                                  {QStringLiteral("OK")},
                                  true});
        return;
    }
    connect(m_recorder.get(), &Recorder::endedAlone, this, &ScreenRecordings::stop);
    m_stopping = false;
    m_recorder->start();
    showControl(region);
    emit changed();
}

// A desktop that puts floating windows where it likes could put the control
// over the region, into the recording: there is none there.
void ScreenRecordings::showControl(const CaptureRegion& region) {
    const std::optional<QRect> frame =
        controlFrame(region, m_services.platform.displays.displays());
    if (!frame || !m_services.platform.overlays.placesFloatingWindows()) {
        return;
    }
    m_control = new RecordingControlView;
    connect(m_control, &RecordingControlView::stopRequested, this, &ScreenRecordings::stop);
    m_control->setGeometry(*frame);
    m_services.platform.overlays.showFloating(m_control);
    m_tick.start();
}

void ScreenRecordings::stop() {
    if (!m_recorder || m_stopping) {
        return;
    }
    m_stopping = true;
    m_tick.stop();
    if (m_control != nullptr) {
        m_services.platform.overlays.hide(m_control);
        m_control->deleteLater();
    }
    m_recorder->stop().then(this, [this](const RecordingResult& result) { finished(result); });
}

void ScreenRecordings::finished(const RecordingResult& result) {
    m_recorder.reset();
    m_stopping = false;
    if (m_quitting) {
        return;
    }
    m_result = new RecordingResultView(result.file, result.message, m_services.dialogs,
                                       m_services.clipboard);
    m_result->showPointerSetting(
        showsPointer(), [this](bool on) { m_services.preferences.setValue(pointerKey, on); });
    m_results.push_back(m_result);
    m_result->show();
    m_result->raise();
    emit changed();
}

std::optional<QRect> ScreenRecordings::controlFrame(const CaptureRegion& region,
                                                    const QList<DisplayInfo>& displays) {
    const std::optional<DisplayInfo> display = findDisplay(displays, region.displayID);
    if (!display) {
        return std::nullopt;
    }
    const QRect area = display->visibleFrame.toAlignedRect();
    const QRect taken = region.rect.translated(display->frame.topLeft()).toAlignedRect();
    const QSize size = RecordingControlView::size;
    const int left = std::clamp(taken.left(), area.left(), area.right() + 1 - size.width());
    for (const QPoint at : {QPoint(left, taken.bottom() + 1 + controlGap),
                            QPoint(left, taken.top() - controlGap - size.height())}) {
        if (area.contains(QRect(at, size))) {
            return QRect(at, size);
        }
    }
    for (const DisplayInfo& other : displays) {
        if (other.id != display->id) {
            const QRect free = other.visibleFrame.toAlignedRect();
            return QRect(free.bottomRight() - QPoint(size.width() + 24, size.height() + 24), size);
        }
    }
    return std::nullopt;
}

} // namespace vellumix
