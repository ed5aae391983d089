#pragma once

#include "fakes/Awaited.h"
#include "fakes/TestApplication.h"

#include <QGuiApplication>

namespace vellumix {

// For test programs without widgets.
inline testing::Environment* const guiTestApp =
    testing::AddGlobalTestEnvironment(new TestApplication<QGuiApplication>);

} // namespace vellumix
