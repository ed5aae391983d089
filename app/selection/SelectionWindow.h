#pragma once

#include "platform/DisplayInfo.h"
#include "platform/OverlaySurfaces.h"

#include <QWidget>

namespace vellumix {

class SelectionView;

// The borderless window that covers one display and holds its SelectionView.
// The controller keeps a hidden window for the next overlay on the same
// display: a new window costs far more than its view (the window system's
// buffer of the whole display is made and filled afresh).
class SelectionWindow final : public QWidget {
public:
    SelectionWindow(const DisplayInfo& display, OverlaySurfaces& overlays);

    // Whether this window covers `display` as it is now.
    bool fits(const DisplayInfo& display) const;
    // Takes `view` (made for this display) and shows it.
    void open(SelectionView* view);
    // Hides the window and lets its view go.
    void close();

    SelectionView* view() const { return m_view; }

private:
    DisplayInfo m_display;
    OverlaySurfaces& m_overlays;
    SelectionView* m_view = nullptr;
};

} // namespace vellumix
