#pragma once

#include <QString>

#include <functional>

namespace vellumix {

class EditorDocument;
struct CaptureRegion;

// The views the capture session opens over the screen: the editor laid over
// a captured region and the short confirmation of a copied colour. The app
// backs it with its editor windows; tests record what was asked.
class InPlaceEditing {
public:
    // What the in-place editor calls back into the session.
    struct Actions {
        // The capture may be extended into a scrolling capture.
        bool canScroll = false;
        // Cancel and Escape: the edit ends here.
        std::function<void()> finish;
        // The edit moves on to the editor window.
        std::function<void()> expand;
        // A scrolling capture starts from this region.
        std::function<void()> scroll;
    };

    virtual ~InPlaceEditing() = default;

    // Opens the editor for `document` over `region` at once, replacing one
    // already open; false when it cannot be shown there (the display is
    // gone). The document outlives the editor.
    virtual bool show(EditorDocument& document, const CaptureRegion& region, Actions actions) = 0;
    // Closes the editor if one is open; safe from within its own actions.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // "Copied #3A7BFF", briefly, without taking the focus.
    virtual void showColorCopied(const QString& hex) = 0;
};

} // namespace vellumix
