#pragma once

#include "fakes/TestApplication.h"

#include <QApplication>

namespace vellumix {

// For test programs that show widgets.
inline testing::Environment* const widgetTestApp =
    testing::AddGlobalTestEnvironment(new TestApplication<QApplication>);

} // namespace vellumix
