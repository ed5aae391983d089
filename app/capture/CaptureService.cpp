#include "capture/CaptureService.h"

#include "capture/Delay.h"
#include "capture/OwnWindowShield.h"
#include "platform/PlatformError.h"

#include <QCoreApplication>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

namespace vellumix {

namespace {

template <typename T> QFuture<T> failed(CaptureError::Kind kind) {
    return QtFuture::makeExceptionalFuture<T>(std::make_exception_ptr(CaptureError(kind)));
}

// Edges count as inside, as a region may span its display exactly.
bool encloses(const QRectF& outer, const QRectF& inner) {
    return inner.left() >= outer.left() && inner.top() >= outer.top() &&
           inner.right() <= outer.right() && inner.bottom() <= outer.bottom();
}

// Done once the windows the shield withdrew have left the screen and those
// beneath have had time to repaint. The wait for the X server and the window
// manager blocks, so it runs on a worker thread.
QFuture<void> settled(const OwnWindowShield& shield, WindowWithdrawal& withdrawal) {
    if (!shield.withdrewAny()) {
        return QtFuture::makeReadyFuture();
    }
    const QList<quintptr> windows = shield.withdrawnWindows();
    return QtConcurrent::run(QThreadPool::globalInstance(),
                             [&withdrawal, windows] {
                                 withdrawal.waitUntilGone(
                                     windows,
                                     QDeadlineTimer(OwnWindowShield::goneLimitMilliseconds));
                             })
        .then(QCoreApplication::instance(),
              [] { return delay(OwnWindowShield::settleMilliseconds); })
        .unwrap();
}

} // namespace

CaptureService::CaptureService(const CaptureRegion& region, PlatformServices services)
    : m_region(region), m_outputSize(region.pixelSize()), m_services(services) {}

QFuture<std::shared_ptr<CaptureService>> CaptureService::create(const CaptureRegion& region,
                                                                PlatformServices services) {
    if (!findDisplay(services.displays.displays(), region.displayID)) {
        return failed<std::shared_ptr<CaptureService>>(CaptureError::Kind::displayRemoved);
    }
    return QtFuture::makeReadyFuture(
        std::shared_ptr<CaptureService>(new CaptureService(region, services)));
}

DisplayInfo CaptureService::checkedDisplay() const {
    if (!m_services.permission.screenRecordingGranted()) {
        throw CaptureError(CaptureError::Kind::permission);
    }
    const std::optional<DisplayInfo> display =
        findDisplay(m_services.displays.displays(), m_region.displayID);
    if (!display || display->scale != m_region.scale ||
        !encloses(QRectF(QPointF(0, 0), display->size()), m_region.rect)) {
        throw CaptureError(CaptureError::Kind::displayRemoved);
    }
    return *display;
}

QFuture<QImage> CaptureService::frame() const {
    DisplayInfo display;
    try {
        display = checkedDisplay();
    } catch (const CaptureError& error) {
        return failed<QImage>(error.kind());
    }
    const QRect pixels = m_region.pixelRect(display.pixelRect().size());
    // Where the desktop places the app's floating windows itself, their
    // frames do not say where they are, and one hidden and shown again is
    // mapped anew, by the desktop's placement and with its animation, into
    // the next frames: none is withdrawn. The scrolling panel turns
    // see-through for its frames instead.
    const QRectF covered = m_services.overlays.placesFloatingWindows()
                               ? m_region.rect.translated(display.frame.topLeft())
                               : QRectF();
    auto shield = std::make_shared<OwnWindowShield>(covered);
    ScreenSource* screen = &m_services.screen;
    const PermissionCheck* permission = &m_services.permission;
    return settled(*shield, m_services.withdrawal)
        .then(QThreadPool::globalInstance(),
              [screen, permission, display, pixels] {
                  try {
                      return screen->grabRegion(display, pixels);
                  } catch (const PlatformError&) {
                      // The desktop asked the user, who said no.
                      if (!permission->screenRecordingGranted()) {
                          throw CaptureError(CaptureError::Kind::permission);
                      }
                      throw;
                  }
              })
        .then(QCoreApplication::instance(), [shield](QFuture<QImage> grabbed) {
            shield->restore();
            return grabbed.result();
        });
}

} // namespace vellumix
