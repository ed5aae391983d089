#pragma once

#include "marks/ImageMark.h"

#include <QImage>
#include <QVector>

// A ready-made sample for trying the annotation tools without a capture: a
// small settings page drawn by the image core, and editable marks to show
// over it. Everything is built from constants.
namespace vellumix::StylePreview {

inline constexpr int width = 960;
inline constexpr int height = 540;

struct Sample {
    // The settings page, its own marks already drawn in.
    QImage picture;
    // A highlight, a step badge, a callout and a curved arrow, in that order,
    // not drawn into the picture.
    QVector<ImageMark> marks;
};

// Throws DocumentError(render) when the picture cannot be drawn.
Sample make();

} // namespace vellumix::StylePreview
