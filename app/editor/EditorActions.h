#pragma once

#include <functional>

namespace vellumix {

// What the owner of an editor (the capture session over a region, the app
// for its window) does beyond editing the document.
struct EditorActions {
    // A scrolling capture may be started from this capture.
    bool canScroll = false;
    // Cancel and Escape: the edit ends here. The owner asks first when
    // leaving would lose changes.
    std::function<void()> finish;
    // The edit moves on to the editor window; only the in-place editor
    // offers it.
    std::function<void()> expand;
    // A scrolling capture starts from this region.
    std::function<void()> scroll;
};

} // namespace vellumix
