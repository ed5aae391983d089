#include "session/CaptureSession.h"

#include "platform/Clipboard.h"
#include "platform/Dialogs.h"
#include "session/CaptureControlsController.h"
#include "session/SeeThroughFrames.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace vellumix {

namespace {

template <typename... Cases> struct Overloaded : Cases... { using Cases::operator()...; };

QString messageOf(const std::exception& error) {
    return QString::fromUtf8(error.what());
}

} // namespace

CaptureSession::CaptureSession(Services services, QObject* parent)
    : QObject(parent), m_services(services), m_status(Texts::ready), m_detail(Texts::readyDetail),
      m_permissionGuide(services.platform.permission),
      m_selector(services.platform, services.editor.defaults),
      m_processor(std::make_unique<Processor>()) {
    m_selector.historyKey = QString::fromLatin1(historyKey);
    SystemEvents& events = services.platform.systemEvents;
    connect(&events, &SystemEvents::willSleep, this, [this] { stop(Texts::sleeping); });
    connect(&events, &SystemEvents::sessionBecameInactive, this, [this] { stop(Texts::inactive); });
}

CaptureSession::~CaptureSession() {
    m_services.inPlace.close();
}

void CaptureSession::startRecording() {
    m_recordingNext = true;
    start(true);
    m_recordingNext = false;
}

void CaptureSession::start(bool single) {
    if (stopRecording && stopRecording()) {
        return;
    }
    if (m_busy || m_running) {
        return;
    }
    if (!m_services.platform.permission.screenRecordingGranted()) {
        m_permissionGuide.present(
            [self = QPointer<CaptureSession>(this), single, recording = m_recordingNext] {
                if (self != nullptr) {
                    recording ? self->startRecording() : self->start(single);
                }
            });
        setStatus(Texts::permissionStatus, m_permissionGuide.grantDetail(Texts::permissionDetail));
        return;
    }
    if (!prepareToReplace()) {
        return;
    }
    discard();
    hideEditorWindows();
    m_busy = true;
    setStatus(Texts::selecting, m_detail);
    m_selector
        .begin([this](CaptureChoice choice) { choiceMade(std::move(choice)); }, m_recordingNext)
        .onFailed(this, [this](const std::exception& error) {
            m_busy = false;
            showFailure(messageOf(error));
        });
}

bool CaptureSession::prepareToReplace() {
    if (m_busy || m_running || QGuiApplication::modalWindow() != nullptr) {
        return false;
    }
    return confirmDiscard();
}

// Opened images ask whenever they were changed; captures only once something
// was drawn or cropped on them, so an untouched capture is replaced silently.
bool CaptureSession::confirmDiscard() {
    if (m_editor == nullptr || !m_editor->unsavedChanges()) {
        return true;
    }
    const bool opened = m_editor->confirmBeforeDiscard();
    if (!opened && !m_editor->hasEdits()) {
        return true;
    }
    const int answer = m_services.editor.dialogs.alert(
        {Texts::saveQuestion, opened ? Texts::saveDetail : Texts::captureSaveDetail,
         Texts::saveButtons});
    if (answer == 0) {
        return m_editor->save();
    }
    return answer == 1;
}

void CaptureSession::discard() {
    if (m_busy || m_running) {
        return;
    }
    closeInPlace();
    ++m_generation;
    setEditor(nullptr);
    m_preview = QImage();
    m_height = 0;
    m_canExtend = false;
    m_selectedRegion.reset();
    m_processor = std::make_unique<Processor>();
    setStatus(Texts::ready, Texts::startDetail);
}

void CaptureSession::openImage(const QImage& image, bool requiresSave) {
    m_canExtend = false;
    setEditor(new EditorDocument(image, 1, requiresSave, !requiresSave, m_services.editor, this));
}

void CaptureSession::setBusy(bool busy) {
    m_busy = busy;
    emit changed();
}

void CaptureSession::finishEditing() {
    closeInPlace();
    if (m_editor != nullptr) {
        m_editor->onComplete = nullptr;
    }
    discard();
}

void CaptureSession::expandEditor() {
    closeInPlace();
    if (m_editor != nullptr) {
        m_editor->onComplete = nullptr;
    }
    if (presentEditor) {
        presentEditor();
    }
}

void CaptureSession::choiceMade(CaptureChoice choice) {
    ++m_generation;
    std::visit(Overloaded{
                   [this](RegionChoice& region) { regionSelected(std::move(region)); },
                   [this](WindowsChoice& windows) { windowsSelected(std::move(windows)); },
                   [this](const ColorChoice& color) { colorSelected(color); },
                   [this](const FailedChoice& failed) {
                       m_busy = false;
                       showFailure(failed.description());
                   },
                   [this](const CancelChoice&) {
                       m_busy = false;
                       setStatus(Texts::canceled, m_detail);
                   },
                   [this](const RecordChoice& chosen) {
                       m_busy = false;
                       if (record) {
                           record(chosen.region);
                       }
                   },
               },
               choice);
}

void CaptureSession::regionSelected(RegionChoice choice) {
    m_selectedRegion = choice.region;
    m_backdrop = choice.backdrop;
    m_canExtend = choice.allowsScroll;
    m_processor = std::make_unique<Processor>();
    const quint64 generation = m_generation;
    m_processor->accept(choice.image)
        .then(this,
              [this, generation, image = choice.image](const ProcessingResult& result) {
                  if (generation != m_generation) {
                      return;
                  }
                  m_height = result.height;
                  m_preview = image;
                  m_running = true;
                  m_busy = false;
                  m_sessionStarted = m_services.clock.now();
                  stop(Texts::captureComplete);
              })
        .onFailed(this, [this, generation](const std::exception& error) {
            if (generation == m_generation) {
                m_busy = false;
                m_running = false;
                showFailure(messageOf(error));
            }
        });
}

void CaptureSession::windowsSelected(WindowsChoice choice) {
    setEditor(newDocument(choice.image, choice.scale));
    m_canExtend = false;
    m_busy = false;
    emit changed();
    if (presentEditor) {
        presentEditor();
    }
}

void CaptureSession::colorSelected(const ColorChoice& choice) {
    m_busy = false;
    if (!m_services.editor.clipboard.setText(choice.hex)) {
        showFailure(Texts::colorFailed);
        return;
    }
    setStatus(Texts::copied + choice.hex, m_detail);
    m_services.inPlace.showColorCopied(choice.hex);
}

void CaptureSession::extendSelection() {
    if (m_running || m_busy || !m_canExtend || !m_selectedRegion ||
        (m_editor != nullptr && m_editor->hasEdits())) {
        return;
    }
    m_busy = true;
    emit changed();
    const quint64 generation = m_generation;
    CaptureService::create(*m_selectedRegion, m_services.platform)
        .then(this,
              [this, generation](std::shared_ptr<CaptureService> service) {
                  if (generation == m_generation) {
                      scrollingStarted(std::move(service));
                  }
              })
        .onFailed(this, [this, generation](const std::exception& error) {
            if (generation != m_generation) {
                return;
            }
            m_busy = false;
            setStatus(Texts::startFailed, messageOf(error));
            // The in-place editor is still open on the region: its message
            // line is where the user looks.
            if (m_editor != nullptr) {
                m_editor->setMessage(Texts::startFailed + QStringLiteral(": ") + m_detail);
            } else {
                showFailure(Texts::startFailed + QStringLiteral(": ") + m_detail);
            }
        });
}

void CaptureSession::scrollingStarted(std::shared_ptr<CaptureService> service) {
    m_service = std::move(service);
    if (!m_services.platform.overlays.placesFloatingWindows()) {
        m_seeThrough = std::make_shared<SeeThroughFrames>(
            m_service, [this] { return m_captureControls ? m_captureControls->panel() : nullptr; });
    }
    closeInPlace();
    setEditor(nullptr);
    m_canExtend = false;
    m_running = true;
    m_paused = false;
    m_busy = false;
    m_sessionStarted = m_services.clock.now();
    setStatus(Texts::scrolling, Texts::scrollingDetail);
    hideEditorWindows();
    m_captureControls = std::make_unique<CaptureControlsController>(
        *this, *m_selectedRegion, m_services.platform.displays, m_services.platform.overlays);
    startLoop();
}

// A chain of single shots rather than a repeating timer: the next round waits
// for the step before it, so steps never overlap and the period is the pause
// plus the step's own time.
void CaptureSession::startLoop() {
    scheduleRound(++m_loop);
}

void CaptureSession::scheduleRound(quint64 loop) {
    QTimer::singleShot(samplingMilliseconds, Qt::PreciseTimer, this,
                       [this, loop] { loopRound(loop); });
}

void CaptureSession::loopRound(quint64 loop) {
    if (loop != m_loop || !m_running) {
        return;
    }
    if (m_services.clock.now() - m_sessionStarted > timeLimitSeconds) {
        stop(Texts::timeLimit);
        return;
    }
    if (m_paused) {
        scheduleRound(loop);
        return;
    }
    capture().then(this, [this, loop] { scheduleRound(loop); });
}

QFuture<void> CaptureSession::capture() {
    if (!m_running || m_busy || !m_service) {
        return QtFuture::makeReadyFuture();
    }
    m_busy = true;
    emit changed();
    const quint64 generation = m_generation;
    const quint64 loop = m_loop;
    using Taken = std::optional<ProcessingResult>;
    QFuture<std::optional<QImage>> next =
        m_seeThrough ? m_seeThrough->next() : m_service->frame().then([](const QImage& frame) {
            return std::optional<QImage>(frame);
        });
    return next
        .then(this,
              [this, generation, loop](const std::optional<QImage>& frame) {
                  if (!frame || !m_running || generation != m_generation || loop != m_loop) {
                      return QtFuture::makeReadyFuture(Taken());
                  }
                  return m_processor->accept(*frame).then(
                      [](const ProcessingResult& result) { return Taken(result); });
              })
        .unwrap()
        .then(this,
              [this, generation](const Taken& result) {
                  if (result && generation == m_generation) {
                      frameProcessed(*result);
                  }
              })
        .onFailed(this,
                  [this, generation](const std::exception& error) {
                      if (generation == m_generation) {
                          stop(Texts::stoppedPrefix + messageOf(error));
                      }
                  })
        .then(this, [this, generation] {
            if (generation == m_generation && m_running) {
                m_busy = false;
                emit changed();
            }
        });
}

void CaptureSession::frameProcessed(const ProcessingResult& result) {
    m_height = result.height;
    if (m_running) {
        m_detail = result.message;
        m_paused = result.paused;
        m_status = result.paused ? Texts::paused : Texts::capturing;
    }
    if (result.preview) {
        m_preview = *result.preview;
    }
    emit changed();
}

void CaptureSession::resume() {
    if (!m_running) {
        return;
    }
    m_paused = false;
    setStatus(m_status, Texts::resumeDetail);
}

void CaptureSession::stop(const QString& reason) {
    if (!m_running) {
        return;
    }
    m_captureControls.reset();
    m_running = false;
    m_paused = false;
    ++m_loop;
    m_service.reset();
    m_seeThrough.reset();
    if (m_height < 1) {
        m_busy = false;
        setStatus(Texts::stopped, reason);
        if (presentEditor) {
            presentEditor();
        }
        return;
    }
    m_busy = true;
    setStatus(Texts::stopped, reason);
    const quint64 generation = m_generation;
    m_processor->image()
        .then(this,
              [this, generation, reason](const QImage& image) {
                  if (generation == m_generation) {
                      assembled(image, reason);
                  }
              })
        .onFailed(this, [this, generation](const std::exception& error) {
            if (generation == m_generation) {
                assemblyFailed(messageOf(error));
            }
        });
}

void CaptureSession::assembled(const QImage& image, const QString& reason) {
    EditorDocument* document = newDocument(image, m_selectedRegion ? m_selectedRegion->scale : 1.0);
    // Why a scrolling capture ended is shown where the user looks next.
    if (reason != Texts::captureComplete) {
        document->setMessage(reason);
    }
    setEditor(document);
    openEditor();
    m_busy = false;
    emit changed();
}

// The full image could not be made: the preview is what is left to keep, and
// the user learns why it is all there is.
void CaptureSession::assemblyFailed(const QString& message) {
    m_busy = false;
    setStatus(m_status, Texts::editorFailed + message);
    if (m_preview.isNull() || !m_selectedRegion) {
        showFailure(m_detail);
        return;
    }
    const double scale = m_selectedRegion->scale * m_preview.width() /
                         std::max(1, m_selectedRegion->pixelSize().width());
    EditorDocument* document = newDocument(m_preview, scale);
    document->setMessage(m_detail);
    setEditor(document);
    openEditor();
    emit changed();
}

// Over the region when it is known and its display still there, else in the
// editor window, so that a capture always reaches an editor.
void CaptureSession::openEditor() {
    if (m_selectedRegion) {
        m_editor->onComplete = [this] {
            finishEditing();
        };
        InPlaceEditing::Actions actions{
            m_canExtend,
            [this] {
                if (confirmDiscard()) {
                    finishEditing();
                }
            },
            [this] { expandEditor(); },
            [this] { extendSelection(); },
        };
        if (m_services.inPlace.show(*m_editor, *m_selectedRegion, m_backdrop, std::move(actions))) {
            return;
        }
        m_editor->onComplete = nullptr;
    }
    if (presentEditor) {
        presentEditor();
    }
}

void CaptureSession::showFailure(const QString& message) {
    setStatus(Texts::failure, message);
    m_services.editor.dialogs.alert({m_status, message});
}

void CaptureSession::closeInPlace() {
    m_services.inPlace.close();
}

// The old document may be the one calling (its completion ends the edit), so
// it goes at the next turn of the event loop.
void CaptureSession::setEditor(EditorDocument* editor) {
    if (m_editor != nullptr && m_editor != editor) {
        m_editor->onComplete = nullptr;
        m_editor->deleteLater();
    }
    m_editor = editor;
    emit changed();
}

EditorDocument* CaptureSession::newDocument(const QImage& image, double scale) {
    return new EditorDocument(image, scale, true, false, m_services.editor, this);
}

// Titled windows (the editor window) would cover what the user captures;
// panels and overlays stay.
void CaptureSession::hideEditorWindows() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->windowType() == Qt::Window &&
            !widget->windowFlags().testFlag(Qt::FramelessWindowHint)) {
            widget->hide();
        }
    }
}

void CaptureSession::setStatus(const QString& status, const QString& detail) {
    m_status = status;
    m_detail = detail;
    emit changed();
}

} // namespace vellumix
