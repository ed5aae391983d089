#pragma once

#include "editor/EditorActions.h"

#include <QString>

namespace vellumix {

class EditorDocument;
struct CaptureRegion;

// The views the capture session opens over the screen: the editor laid over
// a captured region and the short confirmation of a copied colour. The app
// backs it with its editor windows; tests record what was asked.
class InPlaceEditing {
public:
    // What the in-place editor calls back into the session.
    using Actions = EditorActions;

    virtual ~InPlaceEditing() = default;

    // Opens the editor for `document` over `region` at once, replacing one
    // already open; false when it cannot be shown there (the display is
    // gone). The document outlives the editor.
    virtual bool show(EditorDocument& document, const CaptureRegion& region, const QImage& backdrop,
                      Actions actions) = 0;
    // Closes the editor if one is open; safe from within its own actions.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // "Copied #3A7BFF", briefly, without taking the focus.
    virtual void showColorCopied(const QString& hex) = 0;
};

} // namespace vellumix
