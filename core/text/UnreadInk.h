#pragma once

#include "text/CancellationToken.h"
#include "text/RecognisedLine.h"

#include <QImage>
#include <QRect>

#include <vector>

namespace tesseract {
class TessBaseAPI;
}

namespace vellumix {

// The engine's page layout now and then leaves out text it takes for
// something else: a sidebar's column of short labels, a line beside a
// control, a title above a table. Whatever ink of text size lies outside every
// line it read is read again on its own, so that no text the image shows is
// lost.
namespace UnreadInk {

// The areas of `prepared` (Format_Grayscale8, dark on light) that hold ink
// outside every box of `lines`, each a run of ink about as tall as a line.
std::vector<QRect> areas(const QImage& prepared, const std::vector<RecognisedLine>& lines);

// Reads those areas with `engine`, whose image is `prepared`, and adds the
// lines found to `lines`, each area a block of its own placed in the reading
// order before the first block that follows it (to its right, or below it).
// Returns false when cancelled.
bool readAgain(tesseract::TessBaseAPI& engine, const QImage& prepared,
               std::vector<RecognisedLine>& lines, const CancellationToken& cancellation);

} // namespace UnreadInk
} // namespace vellumix
