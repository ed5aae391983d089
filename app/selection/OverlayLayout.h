#pragma once

#include "selection/Loupe.h"

#include <QList>
#include <QRegion>

#include <optional>

namespace vellumix {

// What a selection view draws over its dimmed picture that moves with the
// pointer: the undimmed highlights, the window label and the loupe. Two
// layouts compared give the area to repaint, so a pointer move redraws only
// what it changes.
struct OverlayLayout {
    QList<QRectF> highlights; // points, each outlined
    std::optional<QString> label;
    std::optional<Loupe> loupe;

    friend bool operator==(const OverlayLayout&, const OverlayLayout&) = default;
};

// The part of a view of `bounds` whose pixels may differ between the two.
QRegion changedArea(const OverlayLayout& before, const OverlayLayout& after, QSizeF bounds);

} // namespace vellumix
