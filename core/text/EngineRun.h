#pragma once

#include "text/CancellationToken.h"
#include "text/RecognisedLine.h"

#include <QImage>

#include <vector>

namespace tesseract {
class TessBaseAPI;
}

namespace vellumix {

// The steps of one pass of the engine over a prepared image.
namespace EngineRun {

// Hands `prepared` (Format_Grayscale8, which must outlive the pass) to the
// engine.
void setImage(tesseract::TessBaseAPI& engine, const QImage& prepared);

// Recognises the image, or the rectangle set on it. Returns false when the
// engine stopped before the end, as it does soon after `cancellation` is
// raised.
bool recognize(tesseract::TessBaseAPI& engine, const CancellationToken& cancellation);

// The lines the last recognition found, in the engine's reading order,
// without empty ones and without the spaces the engine puts between
// ideographs.
std::vector<RecognisedLine> lines(tesseract::TessBaseAPI& engine);

} // namespace EngineRun
} // namespace vellumix
