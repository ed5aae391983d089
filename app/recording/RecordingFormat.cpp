#include "recording/RecordingFormat.h"

#include "recording/GifWriter.h"
#include "recording/Mp4Writer.h"

namespace vellumix {

namespace {

template <typename Writer>
std::unique_ptr<FrameWriter> made(const QString& path, QSize size, int fps) {
    return std::make_unique<Writer>(path, size, fps);
}

// Screens refresh at 60 Hz at most, mostly.
const RecordingFormat formats[] = {
    {"mp4", 60, &made<Mp4Writer>},
    {"gif", GifWriter::maximumFps, &made<GifWriter>},
};

} // namespace

const RecordingFormat* RecordingFormat::find(const QString& name) {
    for (const RecordingFormat& format : formats) {
        if (name == QLatin1String(format.name)) {
            return &format;
        }
    }
    return nullptr;
}

} // namespace vellumix
