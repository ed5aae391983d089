#include "automation/AgentOperations.h"

#include "api/APIError.h"
#include "api/ImageAPI.h"
#include "automation/RegionArgument.h"
#include "automation/ScreenListing.h"
#include "capture/CaptureError.h"

#include <QThreadPool>

namespace vellumix {

namespace {

QFuture<QJsonObject> ready(const QJsonObject& result) {
    return QtFuture::makeReadyFuture(result);
}

} // namespace

// Looked up in this order; the permission test comes after the name is
// known, so an unknown name is reported as such whatever the permission.
const AgentOperations::Operation AgentOperations::operations[] = {
    {"permissions.status", false, &AgentOperations::permissionsStatus},
    {"displays.list", false, &AgentOperations::displaysList},
    {"windows.list", false, &AgentOperations::windowsList},
    {"pin", false, &AgentOperations::pin},
    {"pin.close", false, &AgentOperations::pinClose},
    {"scroll.cancel", false, &AgentOperations::scrollCancel},
    {"capture.region", true, &AgentOperations::captureRegion},
    {"scroll.start", true, &AgentOperations::scrollStart},
    {"scroll.sample", true, &AgentOperations::scrollSample},
    {"scroll.finish", false, &AgentOperations::scrollFinish},
    {"record.start", true, &AgentOperations::recordStart},
    {"record.stop", false, &AgentOperations::recordStop},
    {"record.cancel", false, &AgentOperations::recordCancel},
};

AgentOperations::AgentOperations(PlatformServices services, PinService& pins, const Clock& clock,
                                 const Clock& steady, QObject* context)
    : m_services(services), m_pins(pins), m_context(context), m_scroll(services, clock, context),
      m_recordings(services, steady, context) {}

QFuture<QJsonObject> AgentOperations::perform(const QJsonObject& arguments,
                                              const QString& operation) {
    for (const Operation& row : operations) {
        if (operation != QLatin1String(row.name)) {
            continue;
        }
        if (!row.needsPermission) {
            return (this->*row.run)(arguments);
        }
        // An agent's new request is a new try, as a person's capture is.
        m_services.permission.askAgain();
        if (!m_services.permission.screenRecordingGranted()) {
            throw APIError(QStringLiteral("permission_required"),
                           m_services.permission.howToGrant());
        }
        // Where the desktop asks, the user may say no while the grab waits.
        return (this->*row.run)(arguments).onFailed(
            m_context, [this](const CaptureError& error) -> QJsonObject {
                if (error.kind() == CaptureError::Kind::permission) {
                    throw APIError(QStringLiteral("permission_required"),
                                   m_services.permission.howToGrant());
                }
                throw error;
            });
    }
    throw APIError(QStringLiteral("unknown_operation"), operation);
}

QFuture<QJsonObject> AgentOperations::permissionsStatus(const QJsonObject&) {
    return ready(
        {{QStringLiteral("screenRecording"), m_services.permission.screenRecordingGranted()},
         {QStringLiteral("coordinateSpace"),
          QStringLiteral("display-local logical points, top-left origin")}});
}

QFuture<QJsonObject> AgentOperations::displaysList(const QJsonObject&) {
    return ready(
        {{QStringLiteral("displays"), ScreenListing::displays(m_services.displays.displays())}});
}

QFuture<QJsonObject> AgentOperations::windowsList(const QJsonObject& arguments) {
    const QJsonValue filter = arguments.value(QLatin1String("titleContains"));
    return ready(
        {{QStringLiteral("windows"),
          ScreenListing::windows(m_services.windows.windows(), m_services.displays.displays(),
                                 filter.isString() ? filter.toString() : QString())}});
}

QFuture<QJsonObject> AgentOperations::pin(const QJsonObject& arguments) {
    const QImage image = ImageAPI::load(ImageAPI::path(arguments, QStringLiteral("input")));
    // One image pixel per point.
    return ready({{QStringLiteral("pinId"), m_pins.show(image, 1.0)}});
}

QFuture<QJsonObject> AgentOperations::pinClose(const QJsonObject& arguments) {
    const QJsonValue id = arguments.value(QLatin1String("pinId"));
    if (!id.isString() || !m_pins.close(id.toString())) {
        throw APIError(QStringLiteral("not_found"), QStringLiteral("Pin not found"));
    }
    return ready({{QStringLiteral("closed"), true}});
}

QFuture<QJsonObject> AgentOperations::scrollCancel(const QJsonObject& arguments) {
    return ready(m_scroll.cancel(arguments));
}

QFuture<QJsonObject> AgentOperations::captureRegion(const QJsonObject& arguments) {
    const CaptureRegion region = regionArgument(arguments, m_services.displays.displays());
    const double scale = region.scale;
    return CaptureService::create(region, m_services)
        .then(m_context,
              [](std::shared_ptr<CaptureService> service) {
                  return service->frame().then([service](const QImage& frame) { return frame; });
              })
        .unwrap()
        // Encoding runs off the main thread, which keeps serving the user.
        .then(QThreadPool::globalInstance(), [arguments, scale](const QImage& frame) {
            QJsonObject result = ImageAPI::save(frame, arguments);
            result.insert(QStringLiteral("scale"), scale);
            return result;
        });
}

QFuture<QJsonObject> AgentOperations::scrollStart(const QJsonObject& arguments) {
    return m_scroll.start(regionArgument(arguments, m_services.displays.displays()));
}

QFuture<QJsonObject> AgentOperations::scrollSample(const QJsonObject& arguments) {
    return m_scroll.sample(arguments);
}

QFuture<QJsonObject> AgentOperations::scrollFinish(const QJsonObject& arguments) {
    return m_scroll.finish(arguments);
}

QFuture<QJsonObject> AgentOperations::recordStart(const QJsonObject& arguments) {
    return ready(m_recordings.start(arguments));
}

QFuture<QJsonObject> AgentOperations::recordStop(const QJsonObject& arguments) {
    return m_recordings.stop(arguments);
}

QFuture<QJsonObject> AgentOperations::recordCancel(const QJsonObject& arguments) {
    return ready(m_recordings.cancel(arguments));
}

} // namespace vellumix
