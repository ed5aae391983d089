#pragma once

#include <QImage>
#include <QString>

namespace vellumix {

// What a finished recording file holds.
struct WrittenRecording {
    QString path;
    qint64 bytes = 0;
    qint64 frames = 0; // as stored: a GIF keeps one frame for a run of equal ones
    double seconds = 0;
    // Why the file ends before the last frame it was given; empty when whole.
    QString failure;
};

// Encodes the frames of one recording into one file. Frames come in order, at
// whole steps of 1 / fps seconds from the start: `step` numbers the step a
// frame shows from, so a missed step lengthens the frame before it. One thread
// at a time. Failures throw an exception whose what() the user reads.
class FrameWriter {
public:
    virtual ~FrameWriter() = default;

    // `frame` is Format_RGBA8888_Premultiplied, opaque, of the writer's size.
    // A failure ends the writing: later frames are ignored.
    virtual void write(const QImage& frame, qint64 step) = 0;
    // Completes the file, after a failure as far as it is whole, and says
    // why it ends early. Throws only when no file is left.
    virtual WrittenRecording finish() = 0;
    // Removes whatever was written.
    virtual void discard() = 0;
};

} // namespace vellumix
