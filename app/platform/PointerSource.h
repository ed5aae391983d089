#pragma once

#include <QImage>
#include <QPoint>

#include <optional>

namespace vellumix {

// The mouse pointer as the screen shows it: its image (premultiplied ARGB),
// the image's hot spot and where the hot spot is, in the whole screen's
// device pixels.
struct PointerImage {
    QImage image;
    QPoint hotSpot;
    QPoint position;
};

// Where the pointer is and how it looks, for drawing into recordings (screen
// reads leave it out). Safe to call from any thread; nothing when the system
// does not say.
class PointerSource {
public:
    virtual ~PointerSource() = default;
    virtual std::optional<PointerImage> pointer() = 0;
};

} // namespace vellumix
