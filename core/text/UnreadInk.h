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

// What is read there with less confidence than this, in any language, is an
// icon or a rule rather than text.
inline constexpr float sure = 50;

// Reads those areas with `engine`, each on its own without the frames around
// its text (InkFrames), and adds the lines found to `lines`, marked unread,
// those before one block in the reading order in a block of their own: before
// the first block that follows them (to their right, or below them). Leaves
// the engine with an image of its own. Returns false when cancelled.
bool readAgain(tesseract::TessBaseAPI& engine, const QImage& prepared,
               std::vector<RecognisedLine>& lines, const CancellationToken& cancellation);

// Drops the lines found this way that no model read with confidence `sure`.
void dropUnsure(std::vector<RecognisedLine>& lines);

} // namespace UnreadInk
} // namespace vellumix
