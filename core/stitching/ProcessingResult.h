#pragma once

#include <QImage>
#include <QString>

#include <cstdint>
#include <optional>

namespace vellumix {

// What the user is shown after one frame of a scrolling capture.
struct ProcessingResult {
    // One line for the user: progress, no change, or why the frame was refused.
    QString message;
    // Rows in the document after this frame.
    int64_t height = 0;
    // The whole document at most 600 pixels wide; only when rows were added.
    std::optional<QImage> preview;
    // The frame was refused; sampling waits until the user resumes.
    bool paused = false;
};

} // namespace vellumix
