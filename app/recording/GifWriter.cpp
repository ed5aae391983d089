#include "recording/GifWriter.h"

#include "api/FileError.h"
#include "api/OutputFile.h"
#include "recording/GifFile.h"
#include "recording/PaletteRemap.h"
#include "recording/RecordingError.h"

#include <QFile>

#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <libimagequant.h>
#include <unistd.h>

namespace vellumix {

namespace {

// Whether the file could be made, without leaving it: the GIF itself only
// comes into being once it is whole.
void probe(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        throw FileError(path, errno);
    }
    ::close(fd);
    ::unlink(name.constData());
}

} // namespace

GifWriter::GifWriter(const QString& path, QSize size, int fps)
    : m_path(path), m_size(size), m_fps(fps) {
    probe(path);
    if (!m_spool.open()) {
        throw RecordingError(QStringLiteral("The temporary file for the GIF's frames could not "
                                            "be made: %1.")
                                 .arg(m_spool.errorString()));
    }
    m_attributes = liq_attr_create();
    liq_set_max_colors(m_attributes, paletteColours);
    m_histogram = liq_histogram_create(m_attributes);
}

GifWriter::~GifWriter() {
    liq_histogram_destroy(m_histogram);
    liq_attr_destroy(m_attributes);
}

void GifWriter::write(const QImage& frame, qint64 step) {
    if (!m_failure.isEmpty()) {
        return;
    }
    step = std::max(step, m_endStep);
    m_endStep = step + 1;
    if (!m_last.isNull() && frame == m_last) {
        return;
    }
    const QRect changed = m_last.isNull() ? frame.rect() : PaletteRemap::changedRect(frame, m_last);
    const QByteArray packed = qCompress(frame.constBits(), int(frame.sizeInBytes()), 1);
    const qint64 offset = m_spool.pos();
    if (m_spool.write(packed) != packed.size()) {
        m_failure =
            QStringLiteral("The GIF's frames could not be kept: %1.").arg(m_spool.errorString());
        m_endStep = step;
        throw RecordingError(m_failure);
    }
    addColours(frame, changed);
    m_frames.append({offset, step});
    m_last = frame;
}

// The colours of what the file will store: each frame's changed rectangle.
void GifWriter::addColours(const QImage& frame, const QRect& rect) {
    QVector<void*> rows(rect.height());
    for (int y = 0; y < rect.height(); ++y) {
        rows[y] = const_cast<uchar*>(frame.constScanLine(rect.y() + y)) + rect.x() * 4;
    }
    liq_image* image =
        liq_image_create_rgba_rows(m_attributes, rows.data(), rect.width(), rect.height(), 0);
    if (image) {
        liq_histogram_add_image(m_histogram, m_attributes, image);
        liq_image_destroy(image);
    }
}

QImage GifWriter::stored(qsizetype index) {
    const qint64 end = index + 1 < m_frames.size() ? m_frames[index + 1].offset : m_spool.size();
    m_spool.seek(m_frames[index].offset);
    const QByteArray pixels = qUncompress(m_spool.read(end - m_frames[index].offset));
    QImage frame(m_size, QImage::Format_RGBA8888_Premultiplied);
    if (pixels.size() != frame.sizeInBytes()) {
        throw RecordingError(QStringLiteral("The GIF's frames could not be read back."));
    }
    std::memcpy(frame.bits(), pixels.constData(), size_t(pixels.size()));
    return frame;
}

// Each frame's delay is cut from one timeline of hundredths, so rounding
// never adds up over a long recording.
int GifWriter::centiseconds(qsizetype index) const {
    const qint64 end = index + 1 < m_frames.size() ? m_frames[index + 1].step : m_endStep;
    const auto hundredths = [this](qint64 step) {
        return std::llround(step * 100.0 / m_fps);
    };
    return int(hundredths(end) - hundredths(m_frames[index].step));
}

QByteArray GifWriter::encoded() {
    liq_result* result = nullptr;
    if (liq_histogram_quantize(m_histogram, m_attributes, &result) != LIQ_OK) {
        throw RecordingError(QStringLiteral("The GIF's colours could not be chosen."));
    }
    const liq_palette* chosen = liq_get_palette(result);
    QVector<quint32> palette;
    for (unsigned i = 0; i < chosen->count; ++i) {
        const liq_color c = chosen->entries[i];
        palette.append(quint32(c.r) << 16 | quint32(c.g) << 8 | c.b);
    }
    liq_result_destroy(result);
    PaletteRemap remap(palette);
    GifFile gif(m_size, palette);
    QImage previous;
    for (qsizetype i = 0; i < m_frames.size(); ++i) {
        const QImage frame = stored(i);
        const QRect rect =
            previous.isNull() ? frame.rect() : PaletteRemap::changedRect(frame, previous);
        gif.addFrame(rect, remap.remap(frame, previous, rect), centiseconds(i), !previous.isNull());
        previous = frame;
    }
    return gif.close();
}

WrittenRecording GifWriter::finish() {
    if (m_frames.isEmpty()) {
        throw RecordingError(m_failure.isEmpty() ? QStringLiteral("The recording has no frames.")
                                                 : m_failure);
    }
    const QByteArray bytes = encoded();
    OutputFile::write(m_path, bytes, false);
    return {m_path, bytes.size(), m_frames.size(), double(m_endStep) / m_fps, m_failure};
}

void GifWriter::discard() {
    m_spool.close();
}

} // namespace vellumix
