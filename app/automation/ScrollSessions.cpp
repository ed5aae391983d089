#include "automation/ScrollSessions.h"

#include "api/APIError.h"
#include "api/ImageAPI.h"

#include <QThreadPool>
#include <QUuid>

namespace vellumix {

namespace {

QString sessionId(const QJsonObject& arguments) {
    return arguments.value(QLatin1String("sessionId")).toString();
}

} // namespace

ScrollSessions::ScrollSessions(PlatformServices services, const Clock& clock, QObject* context)
    : m_services(services), m_clock(clock), m_context(context) {}

QFuture<QJsonObject> ScrollSessions::start(const CaptureRegion& region) {
    if (m_sessions.size() >= maximumSessions) {
        throw APIError(QStringLiteral("busy"), QStringLiteral("At most four scroll sessions"));
    }
    auto session = std::make_shared<Session>();
    session->processor = std::make_shared<Processor>();
    session->scale = region.scale;
    return CaptureService::create(region, m_services)
        .then(m_context,
              [session](std::shared_ptr<CaptureService> service) {
                  session->service = std::move(service);
                  return session->service->frame();
              })
        .unwrap()
        .then(m_context,
              [session](const QImage& frame) { return session->processor->accept(frame); })
        .unwrap()
        .then(m_context, [this, session](const ProcessingResult& result) {
            session->touched = m_clock.now();
            const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
            m_sessions.insert(id, *session);
            return QJsonObject{{QStringLiteral("sessionId"), id},
                               {QStringLiteral("height"), qint64(result.height)},
                               {QStringLiteral("scale"), session->scale},
                               {QStringLiteral("scope"),
                                QStringLiteral("selected range; caller scrolls the target")}};
        });
}

QFuture<QJsonObject> ScrollSessions::sample(const QJsonObject& arguments) {
    const auto [id, session] = touchedSession(arguments);
    return session.service->frame()
        .then(m_context, [processor = session.processor](
                             const QImage& frame) { return processor->accept(frame); })
        .unwrap()
        .then(m_context, [id](const ProcessingResult& result) {
            return QJsonObject{{QStringLiteral("sessionId"), id},
                               {QStringLiteral("height"), qint64(result.height)},
                               {QStringLiteral("paused"), result.paused},
                               {QStringLiteral("message"), result.message}};
        });
}

QFuture<QJsonObject> ScrollSessions::finish(const QJsonObject& arguments) {
    const auto [id, session] = touchedSession(arguments);
    // Encoding a tall image takes a while; it runs off the main thread.
    return session.processor->image()
        .then(QThreadPool::globalInstance(),
              [arguments](const QImage& image) { return ImageAPI::save(image, arguments); })
        .then(m_context, [this, id](const QJsonObject& result) {
            m_sessions.remove(id);
            return result;
        });
}

QJsonObject ScrollSessions::cancel(const QJsonObject& arguments) {
    if (!m_sessions.remove(sessionId(arguments))) {
        throw APIError(QStringLiteral("not_found"), QStringLiteral("Session not found"));
    }
    return {{QStringLiteral("cancelled"), true}};
}

void ScrollSessions::expire() {
    const double now = m_clock.now();
    m_sessions.removeIf(
        [now](const auto& entry) { return now - entry.value().touched >= idleSeconds; });
}

std::pair<QString, ScrollSessions::Session>
ScrollSessions::touchedSession(const QJsonObject& arguments) {
    const QString id = sessionId(arguments);
    const auto found = m_sessions.find(id);
    if (id.isEmpty() || found == m_sessions.end()) {
        throw APIError(QStringLiteral("not_found"), QStringLiteral("Session expired or missing"));
    }
    found->touched = m_clock.now();
    return {id, *found};
}

} // namespace vellumix
