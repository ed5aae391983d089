#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace vellumix {

// Reports the pointer entering and leaving a widget. It only watches the
// widget's events, so clicks still reach the widget.
class HoverTracking final : public QObject {
public:
    // Owned by `widget`; `changed(true)` on enter, `changed(false)` on leave.
    HoverTracking(QWidget* widget, std::function<void(bool inside)> changed);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(bool)> m_changed;
};

} // namespace vellumix
