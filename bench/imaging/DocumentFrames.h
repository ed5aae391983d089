#pragma once

#include "ScreenshotLike.h"

#include "stitching/LongDocument.h"

#include <QVector>

namespace vellumix::bench {

// Frames as a scrolling capture sees them: windows `height` rows tall cut
// from one tall screenshot-like page at successive scroll positions.
inline QVector<QImage> scrolledFrames(int width, int height, int count, int step) {
    const QImage page = makeScreenshotLike(width, height + step * (count - 1), 21);
    QVector<QImage> frames;
    for (int i = 0; i < count; ++i) {
        frames.append(page.copy(0, i * step, width, height));
    }
    return frames;
}

// A document of `strips` strips of 200 rows, each the bottom of a frame of
// the given width, built without ever holding the whole picture.
inline LongDocument documentOfStrips(int width, int strips) {
    const QVector<QImage> frames = scrolledFrames(width, 600, 12, 200);
    LongDocument document;
    for (int i = 0; i < strips; ++i) {
        document.append(frames[i % frames.size()], 200);
    }
    return document;
}

} // namespace vellumix::bench
