#pragma once

#include <QImage>

namespace vellumix::bench {

// Frame `index` of a scripted session with a desktop program: a window with a
// sidebar, a list that scrolls, a text field being typed into, a progress
// bar and a pointer that moves between them. Antialiased text and flat
// colours, like a screen.
QImage uiScene(QSize size, int index, int fps);

} // namespace vellumix::bench
