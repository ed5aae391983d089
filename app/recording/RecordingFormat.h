#pragma once

#include "recording/FrameWriter.h"

#include <QSize>

#include <memory>

namespace vellumix {

// The file formats a recording can be written in, by their names ("mp4",
// "gif").
struct RecordingFormat {
    const char* name;
    int maximumFps;
    // Creates the writer of a new file; throws when it cannot be made.
    std::unique_ptr<FrameWriter> (*writer)(const QString& path, QSize size, int fps);

    static const RecordingFormat* find(const QString& name);
};

} // namespace vellumix
