#pragma once

#include <QRectF>
#include <QString>

namespace vellumix {

// One on-screen window. `layer` is 0 for normal application windows and
// dialogs; docks, panels, menus, desktops and the like have other layers.
struct WindowInfo {
    quint32 id = 0;
    QString title;
    QString appName; // the owning application's name, empty when unknown
    qint64 pid = 0;  // the owning process, 0 when unknown
    QRectF frame;    // global points, top-left origin, decorations included
    int layer = 0;

    // True for windows of this very process, which captures never offer.
    bool isOwn() const;
};

} // namespace vellumix
