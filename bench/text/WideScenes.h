#pragma once

#include "AccuracyCase.h"

#include <vector>

namespace vellumix {

// Screens drawn from wide, declared ranges of layouts, fonts, sizes, colours,
// scales and languages (WideScenes.cpp lists them), so that what recognition
// was tuned on is not what it is judged on. One seed picks everything about
// one screen; the set is split once, by seed, into a part to tune on and a
// part held out from tuning, whose figures are the ones to report.
enum class WidePart { tuning, heldOut };

std::vector<AccuracyCase> wideCases(WidePart part);

} // namespace vellumix
