#pragma once

#include <QIcon>

namespace vellumix {

// The app's icon, drawn rather than loaded so that it needs no image plug-in
// and no installed theme: a viewfinder on a blue rounded square, as the
// installed SVG shows it.
QIcon appIcon();

} // namespace vellumix
