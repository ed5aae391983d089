#pragma once

#include "capture/CaptureRegion.h"
#include "editor/EditorActions.h"
#include "editor/EditorDocument.h"
#include "platform/OverlaySurfaces.h"

#include <QObject>
#include <QPointer>

class QScreen;

namespace vellumix {

class EditingOverlay;

// Opens the in-place editor over `region` on its display at once, in front
// and with the keyboard, and closes it when destroyed or closed. Its window
// covers the display: where a client cannot place windows, the editor is
// drawn at the region on that covering surface. The
// document and the services outlive the controller.
class InPlaceEditorController final : public QObject {
public:
    // `backdrop`, unless null, is the display as it was, dimmed, shown
    // around the region where the covering surface hides the desktop.
    InPlaceEditorController(EditorDocument& document, const CaptureRegion& region,
                            const QImage& backdrop, EditorServices services,
                            OverlaySurfaces& overlays, EditorActions actions,
                            QObject* parent = nullptr);
    ~InPlaceEditorController() override;

    EditingOverlay* window() const { return m_window; }
    void close();

    // The screen that shows `displayID`, the primary one when none does.
    static QScreen* screenOf(quint32 displayID);

private:
    OverlaySurfaces& m_overlays;
    QPointer<EditingOverlay> m_window;
};

} // namespace vellumix
