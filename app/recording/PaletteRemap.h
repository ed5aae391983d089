#pragma once

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QVector>

#include <array>
#include <vector>

namespace vellumix {

// Maps the pixels of frames to one fixed palette, with error diffusion so
// gradients keep their tone. Pixels a frame shares with the frame before are
// left out as the transparent index instead: they show what is already on
// screen, so still parts of a recording never shimmer and compress to
// nothing.
class PaletteRemap final {
public:
    // How much of a pixel's error its neighbours take: less than all of it
    // keeps dither noise from spreading over flat areas.
    static constexpr int diffusionPercent = 75;

    // `palette` holds up to 255 colours as 0xRRGGBB.
    explicit PaletteRemap(const QVector<quint32>& palette);

    // The indices of `rect` of `frame` (Format_RGBA8888_Premultiplied, opaque),
    // row by row, for frames in order. With a `previous` frame, pixels that
    // would not change on screen are transparent.
    QByteArray remap(const QImage& frame, const QImage& previous, const QRect& rect);

    // The smallest rectangle holding every pixel in which the frames differ;
    // empty when they are equal.
    static QRect changedRect(const QImage& frame, const QImage& previous);

private:
    using Error = std::array<int, 3>;

    int nearest(quint32 rgb);
    // The palette index for `source` with the error carried to it, the
    // pixel at `i` of the row; passes its own error on.
    int dithered(quint32 source, int i, std::vector<Error>& row, std::vector<Error>& below);

    QVector<quint32> m_palette;
    QHash<quint32, uchar> m_nearest;
    QByteArray m_shown; // the index each pixel shows after the frames so far
};

} // namespace vellumix
