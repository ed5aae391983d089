#pragma once

#include "editor/EditorDocument.h"
#include "platform/OverlaySurfaces.h"
#include "session/InPlaceEditing.h"

#include <QPointer>

namespace vellumix {

class EditingOverlay;
class InPlaceEditorController;

// The session's in-place editing through the editor's own windows: the
// in-place editor over the region and the colour toast.
class QtInPlaceEditing final : public InPlaceEditing {
public:
    QtInPlaceEditing(EditorServices services, OverlaySurfaces& overlays);
    ~QtInPlaceEditing() override;

    // False when no attached screen shows the region's display.
    bool show(EditorDocument& document, const CaptureRegion& region, const QImage& backdrop,
              Actions actions) override;
    void close() override;
    bool isOpen() const override;
    void showColorCopied(const QString& hex) override;

    // The open editor's window, else null.
    EditingOverlay* window() const;

private:
    EditorServices m_services;
    OverlaySurfaces& m_overlays;
    QPointer<InPlaceEditorController> m_controller;
};

} // namespace vellumix
