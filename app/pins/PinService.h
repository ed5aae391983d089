#pragma once

#include <QImage>
#include <QString>

namespace vellumix {

// Images kept on screen in floating windows. The editor's pin action and the
// automation operations open and close them through this interface.
class PinService {
public:
    virtual ~PinService() = default;

    // Opens a pin window showing `image` at `sourceScale` image pixels per
    // point and returns its id (an upper-case UUID without braces).
    virtual QString show(const QImage& image, double sourceScale) = 0;

    // Closes the pin with that id; false when none is open.
    virtual bool close(const QString& id) = 0;
};

} // namespace vellumix
