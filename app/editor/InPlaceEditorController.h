#pragma once

#include "capture/CaptureRegion.h"
#include "editor/EditorActions.h"
#include "editor/EditorDocument.h"

#include <QObject>
#include <QPointer>

class QScreen;

namespace vellumix {

class EditingOverlay;

// Opens the in-place editor over `region` on its display at once, in front
// and with the keyboard, and closes it when destroyed or closed. The
// document and the services outlive the controller.
class InPlaceEditorController final : public QObject {
public:
    InPlaceEditorController(EditorDocument& document, const CaptureRegion& region,
                            EditorServices services, EditorActions actions,
                            QObject* parent = nullptr);
    ~InPlaceEditorController() override;

    EditingOverlay* window() const { return m_window; }
    void close();

    // The screen that shows `displayID`, the primary one when none does.
    static QScreen* screenOf(quint32 displayID);

private:
    QPointer<EditingOverlay> m_window;
};

} // namespace vellumix
