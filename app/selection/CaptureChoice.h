#pragma once

#include "capture/CaptureRegion.h"

#include <QImage>
#include <QString>

#include <exception>
#include <variant>

namespace vellumix {

// The outcome of one selection overlay: exactly one of these reaches the
// session.
struct RegionChoice {
    CaptureRegion region;
    QImage image; // the region's crop of the frozen display, device pixels
    bool allowsScroll = false;
    // The whole frozen display, dimmed, where the desktop cannot show itself
    // beneath a window covering it: what an editor over the region shows
    // around it there. Null elsewhere.
    QImage backdrop;
};

struct WindowsChoice {
    QImage image; // the chosen windows composed into one image
    double scale = 1.0;
};

struct ColorChoice {
    QString hex;
};

struct FailedChoice {
    std::exception_ptr error;
    // The error's sentence for the user.
    QString description() const;
};

struct CancelChoice {};

// What to record instead of capturing (V in the overlay): a dragged region,
// the frame of the clicked windows or the whole display.
struct RecordChoice {
    CaptureRegion region;
};

using CaptureChoice = std::variant<RegionChoice, WindowsChoice, ColorChoice, FailedChoice,
                                   CancelChoice, RecordChoice>;

} // namespace vellumix
