#pragma once

#include "recording/FrameWriter.h"

#include <QSize>

#include <exception>
#include <memory>

namespace vellumix {

// H.264 in a fragmented MP4, written in place as the frames come: a fragment
// goes out every second, so a file cut short by a crash or a full disk still
// plays up to its last whole fragment. Fragments need not start at key
// frames for a file read from its start; key frames every second would make
// a screen's video several times larger.
class Mp4Writer final : public FrameWriter {
public:
    static constexpr const char* fragmentFlags = "empty_moov+default_base_moof";
    static constexpr int fragmentMicroseconds = 1'000'000;
    static constexpr int keyFrameSeconds = 10;
    static constexpr const char* encoderPreset = "veryfast";
    // x264's constant rate factor: its default, screen text stays sharp.
    static constexpr int quality = 23;

    // Creates `path`, which must not exist (FileError otherwise). 4:2:0 video
    // has even sides, so an odd `size` loses its last column or row.
    Mp4Writer(const QString& path, QSize size, int fps);
    ~Mp4Writer() override;

    void write(const QImage& frame, qint64 step) override;
    WrittenRecording finish() override;
    void discard() override;

private:
    struct Muxer;

    void encode(bool last);
    void fail();
    QString failureMessage() const;

    QString m_path;
    QSize m_size;
    int m_fps;
    std::unique_ptr<Muxer> m_muxer;
    std::exception_ptr m_failure;
    qint64 m_lastStep = -1;
    qint64 m_packets = 0;
    // What the file holds up to its last whole fragment.
    qint64 m_storedFrames = 0;
    qint64 m_storedSteps = 0;
};

} // namespace vellumix
