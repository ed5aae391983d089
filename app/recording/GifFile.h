#pragma once

#include <QByteArray>
#include <QRect>
#include <QVector>

#include <gif_lib.h>

namespace vellumix {

// An animated GIF built in memory with giflib: one global palette, frames as
// rectangles of palette indices drawn over what the frames before left, a
// loop that never ends.
class GifFile final {
public:
    // Palette index that leaves the pixel beneath unchanged.
    static constexpr int transparentIndex = 255;

    // `palette` holds up to 255 colours as 0xRRGGBB.
    GifFile(QSize size, const QVector<quint32>& palette);
    ~GifFile();
    GifFile(const GifFile&) = delete;
    GifFile& operator=(const GifFile&) = delete;

    // `indices` covers `rect` row by row; `centiseconds` is how long the frame
    // shows. With `transparent`, transparentIndex keeps the pixels beneath.
    void addFrame(const QRect& rect, const QByteArray& indices, int centiseconds, bool transparent);
    // The whole file; the object is spent.
    QByteArray close();

private:
    static int append(GifFileType* file, const GifByteType* bytes, int length);
    void check(int result) const;

    QByteArray m_bytes;
    GifFileType* m_file = nullptr;
};

} // namespace vellumix
