#pragma once

#include "text/CancellationToken.h"
#include "text/EngineCache.h"
#include "text/RecognisedLine.h"

#include <QImage>
#include <QStringList>

#include <vector>

namespace vellumix {

// Chinese in an image the English model has read. That model reads English
// lines with a confidence of `sureEnglish` or more and Chinese ones far lower,
// so only the weaker lines can be Chinese. The weakest few are read with a
// Chinese model first; an image where none turns out to hold Chinese
// characters is Latin and is left as it is, so an English screenshot costs a
// few short lines at most. Otherwise every weak line is read by each Chinese
// model, and per block of lines the model whose forms match the ink
// (ScriptInk) gives its readings to the lines where it holds Chinese and beats
// English: one script per block, never a mix of Simplified and Traditional
// within one.
namespace ChineseReading {

inline constexpr float sureEnglish = 75;
inline constexpr int probedLines = 3;

// Reads `lines` again with the models of `codes` ("zh-Hans", "zh-Hant") as
// described above. Returns false when cancelled.
bool readAgain(EngineCache::Engines& engines, const QStringList& codes, const QImage& prepared,
               std::vector<RecognisedLine>& lines, const CancellationToken& cancellation);

} // namespace ChineseReading
} // namespace vellumix
