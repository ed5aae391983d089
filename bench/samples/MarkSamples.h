#pragma once

#include <QImage>

namespace vellumix::samples {

// A grid on white with every mark tool, labelled, for judging their looks.
QImage markSheet();

} // namespace vellumix::samples
