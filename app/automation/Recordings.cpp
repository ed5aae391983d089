#include "automation/Recordings.h"

#include "api/APIError.h"
#include "api/ImageAPI.h"
#include "automation/RegionArgument.h"
#include "recording/RecordingFormat.h"

#include <QFileInfo>
#include <QUuid>

#include <cmath>

namespace vellumix {

namespace {

const RecordingFormat& formatArgument(const QJsonObject& arguments, const QString& output) {
    const QJsonValue format = arguments.value(QLatin1String("format"));
    const RecordingFormat* found = RecordingFormat::find(
        format.isUndefined() ? QFileInfo(output).suffix().toLower() : format.toString());
    if (!found) {
        throw APIError(QStringLiteral("invalid_arguments"),
                       QStringLiteral("format must be mp4 or gif"));
    }
    return *found;
}

int fpsArgument(const QJsonObject& arguments, const RecordingFormat& format) {
    const QJsonValue value = arguments.value(QLatin1String("fps"));
    if (value.isUndefined()) {
        return std::min(Recordings::defaultFps, format.maximumFps);
    }
    const double fps = value.toDouble();
    if (!value.isDouble() || fps != std::floor(fps) || fps < 1 || fps > format.maximumFps) {
        throw APIError(QStringLiteral("invalid_arguments"),
                       QStringLiteral("fps must be a whole number from 1 to %1 for %2")
                           .arg(format.maximumFps)
                           .arg(QLatin1String(format.name)));
    }
    return int(fps);
}

} // namespace

Recordings::Recordings(PlatformServices services, const Clock& clock, QObject* context)
    : m_services(services), m_clock(clock), m_context(context) {}

Recordings::~Recordings() = default;

QJsonObject Recordings::start(const QJsonObject& arguments) {
    // One that ended is still busy until its file is complete; asking an
    // ended recording to stop only gives its result.
    if (m_recorder && (!m_recorder->ended() || !m_recorder->stop().isFinished())) {
        throw APIError(QStringLiteral("busy"), QStringLiteral("A recording is running"));
    }
    const QList<DisplayInfo> displays = m_services.displays.displays();
    const CaptureRegion region = regionArgument(arguments, displays);
    const QString output = ImageAPI::path(arguments, QStringLiteral("output"));
    const RecordingFormat& format = formatArgument(arguments, output);
    const int fps = fpsArgument(arguments, format);
    // A recording is written while it runs, so it never takes the place of
    // an existing file.
    if (QFileInfo::exists(output)) {
        throw APIError(QStringLiteral("file_exists"),
                       QStringLiteral("Output exists; recordings never replace a file"));
    }
    const DisplayInfo display = *findDisplay(displays, region.displayID);
    const QRect pixels = region.pixelRect(display.pixelRect().size());
    const PlatformServices::Recorded recorded =
        m_services.recorded(arguments.value(QLatin1String("pointer")).toBool(true));
    m_recorder =
        std::make_unique<Recorder>(display, pixels, fps, format.writer(output, pixels.size(), fps),
                                   m_services.displays, recorded.screen, m_clock, recorded.pointer);
    m_id = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    m_recorder->start();
    return {{QStringLiteral("recordingId"), m_id}};
}

void Recordings::checkId(const QJsonObject& arguments) const {
    if (!m_recorder || arguments.value(QLatin1String("recordingId")).toString() != m_id) {
        throw APIError(QStringLiteral("not_found"), QStringLiteral("Recording not found"));
    }
}

QFuture<QJsonObject> Recordings::stop(const QJsonObject& arguments) {
    checkId(arguments);
    return m_recorder->stop().then(m_context, [this, id = m_id](const RecordingResult& result) {
        QJsonObject answer{{QStringLiteral("path"), result.file.path},
                           {QStringLiteral("size"), result.file.bytes},
                           {QStringLiteral("frames"), result.file.frames},
                           {QStringLiteral("duration"), result.file.seconds},
                           {QStringLiteral("droppedFrames"), result.droppedFrames}};
        if (!result.message.isEmpty()) {
            answer.insert(QStringLiteral("message"), result.message);
        }
        if (m_id == id) {
            m_recorder.reset();
        }
        return answer;
    });
}

QJsonObject Recordings::cancel(const QJsonObject& arguments) {
    checkId(arguments);
    m_recorder->cancel();
    m_recorder.reset();
    return {{QStringLiteral("cancelled"), true}};
}

} // namespace vellumix
