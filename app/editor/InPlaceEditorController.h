#pragma once

#include "capture/CaptureRegion.h"
#include "editor/EditorDocument.h"

#include <QObject>
#include <QPointer>

#include <functional>

class QScreen;

namespace vellumix {

class EditingOverlay;

// What the capture session does for an in-place edit.
struct InPlaceActions {
    // The session can extend this capture into a scrolling one.
    bool canScroll = false;
    // Cancel and Escape: the edit ends here.
    std::function<void()> finish;
    // The edit moves on to the editor window.
    std::function<void()> expand;
    // The scrolling capture starts from this region.
    std::function<void()> scroll;
};

// Opens the in-place editor over `region` on its display at once, in front
// and with the keyboard, and closes it when destroyed or closed. The
// document and the services outlive the controller.
class InPlaceEditorController final : public QObject {
public:
    InPlaceEditorController(EditorDocument& document, const CaptureRegion& region,
                            EditorServices services, InPlaceActions actions,
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
