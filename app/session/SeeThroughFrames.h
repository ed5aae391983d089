#pragma once

#include "capture/CaptureService.h"

#include <QFuture>
#include <QImage>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

namespace vellumix {

class CaptureControlsView;

// The frames of a scrolling capture where the desktop puts the panel where
// it likes and does not say where, so it may lie over the region. Each round
// looks at the region; a frame is taken for stitching only once the page has
// stood still for a round (or after `takeAtLeastEvery` rounds of a page that
// never does), grabbed while the panel is see-through. The panel blinks once
// a pause instead of once a round, and never shows in a taken frame.
class SeeThroughFrames final : public std::enable_shared_from_this<SeeThroughFrames> {
public:
    SeeThroughFrames(std::shared_ptr<CaptureService> service,
                     std::function<CaptureControlsView*()> panel);

    // The next frame to stitch; nothing in a round that only looked.
    QFuture<std::optional<QImage>> next();

    static constexpr int takeAtLeastEvery = 5;
    // How long the desktop takes to show the see-through panel.
    static constexpr int seeThroughMilliseconds = 150;

private:
    QFuture<std::optional<QImage>> take();

    std::shared_ptr<CaptureService> m_service;
    std::function<CaptureControlsView*()> m_panel;
    QImage m_lastLook;
    int m_stillRounds = 0;
    int m_roundsSinceTaken = 0;
};

} // namespace vellumix
