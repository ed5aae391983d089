#pragma once

#include "text/CancellationToken.h"
#include "text/RecognitionOptions.h"

#include <QImage>
#include <QString>

namespace vellumix {

// The image core's text recogniser, and the only code that talks to the
// recognition engine. Any number of recognitions may run at once on any
// threads: each call has its own engine instance.
namespace TextRecognition {

// Blocks for the whole recognition; call it off the main thread. Returns the
// recognised lines joined by "\n" (no trailing line feed), or "" for an image
// without text.
//
// Throws CancellationError when `cancellation` is raised before the call
// (nothing is started) or while it runs (the engine stops early and no text
// is delivered). Throws TextRecognitionError when the image is null or the
// engine fails.
QString recognize(const QImage& image, const CancellationToken& cancellation,
                  const RecognitionOptions& options = {});

} // namespace TextRecognition
} // namespace vellumix
