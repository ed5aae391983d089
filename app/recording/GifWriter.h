#pragma once

#include "recording/FrameWriter.h"

#include <QTemporaryFile>
#include <QVector>

#include <memory>

struct liq_attr;
struct liq_histogram;

namespace vellumix {

// An animated GIF with one palette for the whole recording. A GIF's palette
// can only be chosen once every frame is known, so frames wait in a
// compressed spool file while their colours go into one histogram; finish()
// chooses the palette, maps every frame to it and writes the file in one
// piece (nothing is left on failure). A frame equal to the one before only
// lengthens it; every other frame stores just the rectangle that changed.
class GifWriter final : public FrameWriter {
public:
    static constexpr int paletteColours = 255; // and one index for "unchanged"
    // GIF delays are in hundredths of a second, and browsers stretch delays
    // under two of them.
    static constexpr int maximumFps = 50;

    // Fails with FileError when `path` exists or its folder takes no file.
    GifWriter(const QString& path, QSize size, int fps);
    ~GifWriter() override;

    void write(const QImage& frame, qint64 step) override;
    WrittenRecording finish() override;
    void discard() override;

private:
    struct Stored {
        qint64 offset;
        qint64 step;
    };

    void addColours(const QImage& frame, const QRect& rect);
    QImage stored(qsizetype index);
    QByteArray encoded();
    int centiseconds(qsizetype index) const;

    QString m_path;
    QSize m_size;
    int m_fps;
    QTemporaryFile m_spool;
    QVector<Stored> m_frames;
    qint64 m_endStep = 0;
    QImage m_last;
    QString m_failure;
    liq_attr* m_attributes = nullptr;
    liq_histogram* m_histogram = nullptr;
};

} // namespace vellumix
