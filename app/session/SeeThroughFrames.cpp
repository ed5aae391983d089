#include "session/SeeThroughFrames.h"

#include "capture/Delay.h"
#include "session/CaptureControlsView.h"

#include <QCoreApplication>

namespace vellumix {

SeeThroughFrames::SeeThroughFrames(std::shared_ptr<CaptureService> service,
                                   std::function<CaptureControlsView*()> panel)
    : m_service(std::move(service)), m_panel(std::move(panel)) {}

QFuture<std::optional<QImage>> SeeThroughFrames::next() {
    return m_service->frame()
        .then(QCoreApplication::instance(),
              [self = shared_from_this()](const QImage& look) {
                  self->m_stillRounds = look == self->m_lastLook ? self->m_stillRounds + 1 : 0;
                  self->m_lastLook = look;
                  // A page standing still was taken once; one that never
                  // does is taken now and then.
                  const bool due =
                      self->m_stillRounds == 1 ||
                      (self->m_stillRounds == 0 && ++self->m_roundsSinceTaken >= takeAtLeastEvery);
                  if (due) {
                      return self->take();
                  }
                  return QtFuture::makeReadyFuture(std::optional<QImage>());
              })
        .unwrap();
}

// The panel is restored however the grab ends.
QFuture<std::optional<QImage>> SeeThroughFrames::take() {
    m_roundsSinceTaken = 0;
    QPointer<CaptureControlsView> panel = m_panel();
    if (panel != nullptr) {
        panel->setSeeThrough(true);
    }
    return delay(seeThroughMilliseconds)
        .then(QCoreApplication::instance(), [service = m_service] { return service->frame(); })
        .unwrap()
        .then(QCoreApplication::instance(), [panel](QFuture<QImage> taken) {
            if (panel != nullptr) {
                panel->setSeeThrough(false);
            }
            return std::optional<QImage>(taken.result());
        });
}

} // namespace vellumix
